// Internal skins: skin packs carried inside the program, kept by the skin manager as an
// ordered collection. Portable.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Streams.h"
#include "framework/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

// What the collection needs of its owner (the skin manager): to hear that the list of
// skins changed.
class IacStoredSkinsOwner {
public:
    virtual void StoredSkinsChanged() = 0;
protected:
    ~IacStoredSkinsOwner() = default;
};

class TsStoredSkins;

class TsStoredSkin {
public:
    explicit TsStoredSkin(TsStoredSkins* collection = nullptr);
    TsStoredSkin(const TsStoredSkin&) = delete;
    TsStoredSkin& operator=(const TsStoredSkin&) = delete;
    ~TsStoredSkin() = default;

    // Copies pack bytes, name, master bitmap, shadow and border values, version, author
    // and description. A null source raises EConvertError (nothing can be assigned).
    void Assign(const TsStoredSkin* source);

    // The "Data" property: always stored; writing yields every pack byte, reading
    // replaces them.
    std::vector<std::uint8_t> WriteData() const;
    void ReadData(const std::uint8_t* data, std::size_t size);

    int Index() const noexcept;

    String Name;
    TBitmap MasterBitmap;
    double Version = 0;
    String Description;
    String Author;
    int Shadow1Offset = 0;
    TColor Shadow1Color = 0;
    int Shadow1Blur = -1;
    int Shadow1Transparency = 0;
    TColor BorderColor = clFuchsia;
    std::unique_ptr<TMemoryStream> PackedData = std::make_unique<TMemoryStream>();

private:
    friend class TsStoredSkins;
    TsStoredSkins* FCollection;
};

class TsStoredSkins {
public:
    explicit TsStoredSkins(IacStoredSkinsOwner* owner) noexcept : FOwner(owner) {}
    ~TsStoredSkins();
    TsStoredSkins(const TsStoredSkins&) = delete;
    TsStoredSkins& operator=(const TsStoredSkins&) = delete;

    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    // Index errors raise EListError.
    TsStoredSkin& Items(int index) const;
    void SetItems(int index, const TsStoredSkin& value);
    TsStoredSkin& Add();
    void Delete(int index);
    void Clear();

    // First item whose Name equals name exactly (case counts); -1 when none.
    int IndexOf(const String& name) const noexcept;
    // Position of item in the list; -1 when it is not one of the list's items.
    int IndexOfItem(const TsStoredSkin* item) const noexcept;
    // Replaces every item by a copy of source's items.
    void Assign(const TsStoredSkins& source);

    // Changes made between BeginUpdate and EndUpdate are announced once, at the end.
    void BeginUpdate() noexcept { ++FUpdateCount; }
    void EndUpdate();
    // Tells the owner that the list changed.
    void Update();

    IacStoredSkinsOwner* Owner() const noexcept { return FOwner; }

private:
    void Changed();

    IacStoredSkinsOwner* FOwner;  // back reference, not owned
    std::vector<std::unique_ptr<TsStoredSkin>> FItems;
    int FUpdateCount = 0;
};

}  // namespace qv
