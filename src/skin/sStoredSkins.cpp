#include "skin/sStoredSkins.h"

#include "framework/SysUtils.h"

namespace qv {

TsStoredSkin::TsStoredSkin(TsStoredSkins* collection) : FCollection(collection) {}

void TsStoredSkin::Assign(const TsStoredSkin* source) {
    if (!source) throw EConvertError(L"Cannot assign a nil to a TsStoredSkin");
    if (source == this) return;
    PackedData->Clear();
    PackedData->WriteBuffer(source->PackedData->Memory(), source->PackedData->Size());
    PackedData->SetPosition(0);
    Name = source->Name;
    MasterBitmap.Assign(source->MasterBitmap);
    Shadow1Color = source->Shadow1Color;
    Shadow1Offset = source->Shadow1Offset;
    Shadow1Blur = source->Shadow1Blur;
    Shadow1Transparency = source->Shadow1Transparency;
    BorderColor = source->BorderColor;
    Version = source->Version;
    Author = source->Author;
    Description = source->Description;
}

std::vector<std::uint8_t> TsStoredSkin::WriteData() const { return PackedData->Bytes(); }

void TsStoredSkin::ReadData(const std::uint8_t* data, std::size_t size) {
    auto fresh = std::make_unique<TMemoryStream>();
    if (size) fresh->WriteBuffer(data, static_cast<std::int64_t>(size));
    fresh->SetPosition(0);
    PackedData = std::move(fresh);
}

int TsStoredSkin::Index() const noexcept { return FCollection ? FCollection->IndexOfItem(this) : -1; }

TsStoredSkins::~TsStoredSkins() { FOwner = nullptr; }

TsStoredSkin& TsStoredSkins::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return *FItems[static_cast<std::size_t>(index)];
}

void TsStoredSkins::SetItems(int index, const TsStoredSkin& value) {
    Items(index).Assign(&value);
    Changed();
}

TsStoredSkin& TsStoredSkins::Add() {
    FItems.push_back(std::make_unique<TsStoredSkin>(this));
    Changed();
    return *FItems.back();
}

void TsStoredSkins::Delete(int index) {
    Items(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TsStoredSkins::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

int TsStoredSkins::IndexOfItem(const TsStoredSkin* item) const noexcept {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item) return static_cast<int>(i);
    return -1;
}

int TsStoredSkins::IndexOf(const String& name) const noexcept {
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)]->Name == name) return i;
    return -1;
}

void TsStoredSkins::Assign(const TsStoredSkins& source) {
    if (&source == this) return;
    BeginUpdate();
    try {
        FItems.clear();
        for (const auto& item : source.FItems) {
            FItems.push_back(std::make_unique<TsStoredSkin>(this));
            FItems.back()->Assign(item.get());
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TsStoredSkins::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Update();
}

void TsStoredSkins::Changed() {
    if (FUpdateCount == 0) Update();
}

void TsStoredSkins::Update() {
    if (FOwner) FOwner->StoredSkinsChanged();
}

}  // namespace qv
