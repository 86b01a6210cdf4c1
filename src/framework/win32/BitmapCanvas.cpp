// The canvas of a TBitmap: a memory DC with the bitmap's DIB section selected.
#include "framework/Bitmap.h"
#include "framework/win32/Canvas.h"

namespace qv {
namespace {

class TBitmapCanvas final : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}
    TBitmapCanvas(const TBitmapCanvas&) = delete;
    TBitmapCanvas& operator=(const TBitmapCanvas&) = delete;
    ~TBitmapCanvas() override { SetHandle(nullptr); }

protected:
    void CreateHandle() override {
        FDC.reset(::CreateCompatibleDC(nullptr));
        if (!FDC) return;
        SetHandle(FDC.get());
        ValidateHandle();
    }
    // The bitmap may have made a new DIB section (new size or format) since the last
    // drawing: select the current one.
    void ValidateHandle() override {
        if (!FDC) return;
        auto current = static_cast<HBITMAP>(FBitmap.Handle());
        if (current == FSelected) return;
        if (current) FBitmapSelection.Select(FDC.get(), current);
        else FBitmapSelection.Restore();  // an empty bitmap: the DC's own 1x1 bitmap again
        FSelected = current;
    }

private:
    TBitmap& FBitmap;
    UniqueMemoryDC FDC;
    HeldSelection FBitmapSelection;  // after the DC: its own bitmap goes back before it is deleted
    HBITMAP FSelected = nullptr;
};

void DeleteBitmapCanvas(TCanvas* canvas) noexcept { delete canvas; }

}  // namespace

TCanvas& TBitmap::Canvas() {
    if (!FCanvas)
        FCanvas = std::unique_ptr<TCanvas, TCanvasDeleter>(new TBitmapCanvas(*this),
                                                           TCanvasDeleter{&DeleteBitmapCanvas});
    FCanvas->Handle();  // selects the current DIB section
    return *FCanvas;
}

}  // namespace qv
