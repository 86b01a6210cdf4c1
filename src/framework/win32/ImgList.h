// TImageList: a list of equally sized images over a system image list (HIMAGELIST).
#pragma once
#include "framework/Bitmap.h"
#include "framework/Classes.h"
#include "framework/Types.h"
#include "framework/win32/Handles.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

namespace qv {

class TImageList;

// Lets a control repaint when the images it shows change (register with RegisterChanges).
class TChangeLink {
public:
    TChangeLink() noexcept = default;
    ~TChangeLink();
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    TImageList* Sender() const noexcept { return FSender; }
    std::function<void(TImageList&)> OnChange;

private:
    friend class TImageList;
    TImageList* FSender = nullptr;
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;
    ~TImageList() override;

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    // Changing the size empties the list.
    void SetSize(int width, int height);

    // An alpha image list keeps an alpha channel for every image: a 32-bit image with
    // alpha keeps its own, any other image is opaque except its masked pixels (alpha 0),
    // and GetBitmap returns the pixels with their alpha. Changing it empties the list.
    bool AlphaImages() const noexcept { return FAlphaImages; }
    void SetAlphaImages(bool value);

    // The system image list (32-bit colour with a mask), made on first demand.
    HIMAGELIST Handle();
    bool HandleAllocated() const noexcept { return static_cast<bool>(FHandle); }

    int Count() const noexcept;
    // Adds image (cut into Width()-wide images, left to right); mask is a monochrome-able
    // bitmap of the same size whose non-zero pixels are transparent, or none. Returns the
    // index of the first image added; throws EInvalidGraphic when the system refuses.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // Adds image with every pixel of maskColor transparent. image itself is not changed.
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Draws image index at (x, y); disabled images are drawn blended toward the
    // background. An index out of range draws nothing.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true);
    // Copies image index into bitmap as 32 bits: the image drawn over black, as GDI
    // leaves the alpha bytes (an alpha image list: the image's own pixels and alpha);
    // false for an index out of range.
    bool GetBitmap(int index, TBitmap& bitmap);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link) noexcept;
    std::function<void(TImageList&)> OnChange;

protected:
    void Change();

private:
    int AddWithAlpha(const TBitmap& image, const TBitmap* mask, TColor maskColor);
    bool GetAlphaBitmap(int index, TBitmap& bitmap);

    int FWidth, FHeight;
    bool FAlphaImages = false;
    UniqueImageList FHandle;
    std::vector<TChangeLink*> FLinks;
};

}  // namespace qv
