#include "framework/win32/ImgList.h"

#include "framework/SysUtils.h"
#include "framework/win32/Handles.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

// One row of source as bitsPerPixel (24 or 32) BGR(A) bytes at dst.
void CopyRow(const TBitmap& source, int y, std::uint8_t* dst, int bitsPerPixel) {
    const std::uint8_t* src = source.ScanLine(y);
    const int w = source.Width();
    for (int x = 0; x < w; ++x) {
        std::uint8_t b, g, r, a = 0;
        switch (source.PixelFormat()) {
        case pf8bit: {
            const std::uint32_t c = source.Palette()[src[x]];
            b = c & 0xFF;
            g = (c >> 8) & 0xFF;
            r = (c >> 16) & 0xFF;
            break;
        }
        case pf24bit:
            b = src[x * 3];
            g = src[x * 3 + 1];
            r = src[x * 3 + 2];
            break;
        default:
            b = src[x * 4];
            g = src[x * 4 + 1];
            r = src[x * 4 + 2];
            a = src[x * 4 + 3];
            break;
        }
        if (bitsPerPixel == 32) {
            dst[x * 4] = b;
            dst[x * 4 + 1] = g;
            dst[x * 4 + 2] = r;
            dst[x * 4 + 3] = a;
        } else {
            dst[x * 3] = b;
            dst[x * 3 + 1] = g;
            dst[x * 3 + 2] = r;
        }
    }
}

// A temporary DIB section with a copy of a framework bitmap's pixels (none when the
// system refuses one): the image list calls may change the bitmap they are given, and a
// caller's bitmap must stay as it was.
UniqueBitmap DibCopy(const TBitmap& source, int bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = source.Width();
    info.bmiHeader.biHeight = source.Height();  // bottom-up, as TBitmap rows are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return bitmap;
    const int rowBytes = ((source.Width() * bitsPerPixel + 31) / 32) * 4;
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < source.Height(); ++y) {
        // DIB row 0 is the bottom one.
        std::uint8_t* dst = rows + static_cast<std::ptrdiff_t>(source.Height() - 1 - y) * rowBytes;
        CopyRow(source, y, dst, bitsPerPixel);
    }
    return bitmap;
}

bool HasAnyAlpha(const TBitmap& image) noexcept {
    if (image.PixelFormat() != pf32bit) return false;
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x)
            if (row[x * 4 + 3] != 0) return true;
    }
    return false;
}

}  // namespace

TChangeLink::~TChangeLink() {
    if (FSender) FSender->UnRegisterChanges(this);
}

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1)) {}

TImageList::~TImageList() {
    Destroying();
    for (TChangeLink* link : FLinks) link->FSender = nullptr;
}

void TImageList::SetAlphaImages(bool value) {
    if (FAlphaImages == value) return;
    FAlphaImages = value;
    if (FHandle) {
        FHandle.reset();
        Change();
    }
}

void TImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == FWidth && height == FHeight) return;
    FWidth = width;
    FHeight = height;
    if (FHandle) {
        FHandle.reset();
        Change();
    }
}

HIMAGELIST TImageList::Handle() {
    if (!FHandle) {
        FHandle.reset(::ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, 4, 4));
        if (!FHandle) throw EOutOfResources(L"Cannot create an image list");
    }
    return FHandle.get();
}

int TImageList::Count() const noexcept { return FHandle ? ::ImageList_GetImageCount(FHandle.get()) : 0; }

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
    if (image.Empty()) throw EInvalidGraphic(L"Cannot add an empty image to the image list");
    if (FAlphaImages) return AddWithAlpha(image, mask, clNone);
    // A 32-bit image with alpha keeps it; anything else is added as 24 bits with its mask.
    const bool alpha = HasAnyAlpha(image) && !mask;
    const UniqueBitmap colour = DibCopy(image, alpha ? 32 : 24);
    if (!colour) throw EOutOfResources(L"Cannot create a bitmap for the image list");
    UniqueBitmap maskCopy;
    if (mask && !mask->Empty()) maskCopy = DibCopy(*mask, 24);
    const int index = ::ImageList_Add(Handle(), colour.get(), maskCopy.get());
    if (index < 0) throw EInvalidGraphic(L"The image list refused the image");
    Change();
    return index;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    if (image.Empty()) throw EInvalidGraphic(L"Cannot add an empty image to the image list");
    if (FAlphaImages) return AddWithAlpha(image, nullptr, maskColor);
    // ImageList_AddMasked turns the masked pixels of its bitmap black: give it a copy.
    const UniqueBitmap colour = DibCopy(image, 24);
    if (!colour) throw EOutOfResources(L"Cannot create a bitmap for the image list");
    const int index = ::ImageList_AddMasked(Handle(), colour.get(), static_cast<COLORREF>(ColorToRGB(maskColor)));
    if (index < 0) throw EInvalidGraphic(L"The image list refused the image");
    Change();
    return index;
}

// The image goes in as 32 bits with an alpha byte on every pixel, so the system list
// stores the alpha and GetAlphaBitmap can give it back: a 32-bit image with alpha keeps
// it; any other image is opaque but where the mask is set or the colour is maskColor.
// Transparent pixels are stored black, as a premultiplied picture has them.
int TImageList::AddWithAlpha(const TBitmap& image, const TBitmap* mask, TColor maskColor) {
    TBitmap copy;
    copy.Assign(image);
    copy.SetPixelFormat(pf32bit);
    const bool ownAlpha = HasAnyAlpha(image);
    TBitmap maskCopy;
    if (mask && !mask->Empty()) {
        maskCopy.Assign(*mask);
        maskCopy.SetPixelFormat(pf32bit);
    }
    const auto key = static_cast<std::uint32_t>(ColorToRGB(maskColor));
    const std::uint32_t keyRgb = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x) {
            std::uint32_t p = copy.Pixel32(x, y);
            if (!ownAlpha) p |= 0xFF000000u;
            const bool masked = (y < maskCopy.Height() && x < maskCopy.Width() &&
                                 (maskCopy.Pixel32(x, y) & 0xFFFFFF)) ||
                                (maskColor != clNone && (p & 0xFFFFFF) == keyRgb);
            if (masked || (p >> 24) == 0) p = 0;
            copy.SetPixel32(x, y, p);
        }
    const UniqueBitmap colour = DibCopy(copy, 32);
    if (!colour) throw EOutOfResources(L"Cannot create a bitmap for the image list");
    const int index = ::ImageList_Add(Handle(), colour.get(), nullptr);
    if (index < 0) throw EInvalidGraphic(L"The image list refused the image");
    Change();
    return index;
}

// Reads the image's pixels straight from the list's own picture, alpha included.
bool TImageList::GetAlphaBitmap(int index, TBitmap& bitmap) {
    IMAGEINFO info{};
    if (!::ImageList_GetImageInfo(FHandle.get(), index, &info) || !info.hbmImage) return false;
    const RECT& r = info.rcImage;
    if (r.right - r.left != FWidth || r.bottom - r.top != FHeight) return false;
    BITMAP bm{};
    if (!::GetObjectW(info.hbmImage, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    if (r.left < 0 || r.top < 0 || r.right > bm.bmWidth || r.bottom > bm.bmHeight) return false;
    ::GdiFlush();
    // The list keeps its picture selected into its own device context, where GetDIBits
    // may not read it: a 32-bit DIB section is read straight from its memory instead.
    DIBSECTION dib{};
    if (::GetObjectW(info.hbmImage, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits && dib.dsBmih.biBitCount == 32) {
        const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
        const bool bottomUp = dib.dsBmih.biHeight > 0;
        TBitmap result(FWidth, FHeight, pf32bit);
        for (int y = 0; y < FHeight; ++y) {
            const int row = bottomUp ? bm.bmHeight - 1 - (r.top + y) : r.top + y;
            std::memcpy(result.ScanLine(y),
                        bits + static_cast<std::ptrdiff_t>(row) * dib.dsBm.bmWidthBytes + r.left * 4,
                        static_cast<std::size_t>(FWidth) * 4);
        }
        bitmap.TakeFrom(result);
        return true;
    }
    // The whole picture of the list as 32-bit rows, top row first.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
    const WindowDC screen(nullptr);
    const int rows = screen ? ::GetDIBits(screen.get(), info.hbmImage, 0, static_cast<UINT>(bm.bmHeight), pixels.data(),
                                          &bi, DIB_RGB_COLORS)
                            : 0;
    if (rows != bm.bmHeight) return false;
    TBitmap result(FWidth, FHeight, pf32bit);
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(result.ScanLine(y), &pixels[static_cast<std::size_t>(r.top + y) * bm.bmWidth + r.left],
                    static_cast<std::size_t>(FWidth) * 4);
    bitmap.TakeFrom(result);
    return true;
}

void TImageList::Delete(int index) {
    if (!FHandle || index < 0 || index >= Count()) return;
    ::ImageList_Remove(FHandle.get(), index);
    Change();
}

void TImageList::Clear() {
    if (!FHandle || Count() == 0) return;
    ::ImageList_Remove(FHandle.get(), -1);
    Change();
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
    if (!FHandle || index < 0 || index >= Count()) return;
    IMAGELISTDRAWPARAMS params{};
    params.cbSize = sizeof(params);
    params.himl = FHandle.get();
    params.i = index;
    params.hdcDst = dc;
    params.x = x;
    params.y = y;
    params.rgbBk = CLR_NONE;
    params.rgbFg = CLR_DEFAULT;
    params.fStyle = ILD_TRANSPARENT;
    if (!enabled) {
        params.fStyle |= ILD_BLEND50;
        params.rgbFg = CLR_DEFAULT;
    }
    ::ImageList_DrawIndirect(&params);
}

bool TImageList::GetBitmap(int index, TBitmap& bitmap) {
    if (!FHandle || index < 0 || index >= Count()) return false;
    if (FAlphaImages) return GetAlphaBitmap(index, bitmap);
    TBitmap empty(FWidth, FHeight, pf32bit);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = FWidth;
    bi.bmiHeader.biHeight = FHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueBitmap target(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDC memory(target ? ::CreateCompatibleDC(nullptr) : nullptr);
    if (!memory) return false;
    {
        const SelectScope select(memory.get(), target.get());
        ::ImageList_Draw(FHandle.get(), index, memory.get(), 0, 0, ILD_TRANSPARENT);
        ::GdiFlush();
    }
    memory.reset();
    bitmap.Assign(empty);
    const auto* rows = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < FHeight; ++y)  // DIB row 0 is the bottom one
        std::memcpy(bitmap.ScanLine(y), rows + static_cast<std::size_t>(FHeight - 1 - y) * FWidth * 4,
                    static_cast<std::size_t>(FWidth) * 4);
    return true;
}

void TImageList::RegisterChanges(TChangeLink* link) {
    if (!link || std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) return;
    if (link->FSender) link->FSender->UnRegisterChanges(link);
    link->FSender = this;
    FLinks.push_back(link);
}

void TImageList::UnRegisterChanges(TChangeLink* link) noexcept {
    auto it = std::find(FLinks.begin(), FLinks.end(), link);
    if (it == FLinks.end()) return;
    FLinks.erase(it);
    link->FSender = nullptr;
}

void TImageList::Change() {
    if (HasState(csDestroying)) return;
    // Links may unregister themselves from their handler: walk a copy.
    const std::vector<TChangeLink*> links = FLinks;
    for (TChangeLink* link : links)
        if (link->OnChange) link->OnChange(*this);
    if (OnChange) OnChange(*this);
}

}  // namespace qv
