#include "InternalSkinLoad.h"

#include "framework/Streams.h"

namespace qv::test {

void AddInternalSkin(TsSkinManagerBase& manager, const String& name, const std::uint8_t* data, std::size_t size) {
    TsStoredSkin& item = manager.InternalSkins().Add();
    item.Name = name;
    item.ReadData(data, size);
}

void ActivateInternalSkin(TsSkinManagerBase& manager, const String& name, const std::uint8_t* data, std::size_t size) {
    AddInternalSkin(manager, name, data, size);
    manager.SetSkinName(name);
}

std::vector<std::uint8_t> ReadPackFile(const String& fileName) {
    TMemoryStream file;
    file.LoadFromFile(fileName);
    return file.Bytes();
}

}  // namespace qv::test
