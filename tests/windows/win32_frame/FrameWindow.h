// A skinned form with a frame skinner attached by hand (as the automatic skinning does
// with CreateRT), and what the window's own device context shows of it.
#pragma once
#include "controls/win32_skinned/SkinnedWindow.h"

#include "windows/win32/sSkinProvider.h"

namespace qv::test {

class FrameWindow : public SkinnedWindow {
protected:
    void SetUp() override {
        SkinnedWindow::SetUp();
        if (HasFatalFailure()) return;
        form->SetCaption(L"Frame under test");
    }

    // Creates the window with the given border style, attaches a run-time provider and
    // shows the form on top.
    void ShowSkinned(TFormBorderStyle style = bsSizeable) {
        form->SetBorderStyle(style);
        form->HandleNeeded();
        provider = TsSkinProvider::CreateRT(form.get());
        ASSERT_NE(provider, nullptr);
        ShowAndPaint();
        ::RedrawWindow(Wnd(), nullptr, nullptr,
                       RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(PumpUntil([&] { return NothingToPaint(Wnd()); }));
        Application().ProcessMessages();
        ASSERT_TRUE(manager->IsValidSkinIndex(provider->SkinData()->FSkinIndex)) << "FORM is not in the skin";
    }

    HWND Wnd() { return form->Handle(); }

    // The whole window as its own device context holds it (frame included).
    std::unique_ptr<TBitmap> WindowPixels() {
        RECT r{};
        ::GetWindowRect(Wnd(), &r);
        auto bmp = std::make_unique<TBitmap>();
        bmp->SetPixelFormat(pf32bit);
        bmp->SetSize(r.right - r.left, r.bottom - r.top);
        HDC dc = ::GetWindowDC(Wnd());
        ::BitBlt(bmp->Canvas().Handle(), 0, 0, bmp->Width(), bmp->Height(), dc, 0, 0, SRCCOPY);
        ::ReleaseDC(Wnd(), dc);
        ::GdiFlush();
        return bmp;
    }

    // The window's screen rectangle.
    RECT WindowRect() {
        RECT r{};
        ::GetWindowRect(Wnd(), &r);
        return r;
    }

    TsSkinProvider* provider = nullptr;
};

}  // namespace qv::test
