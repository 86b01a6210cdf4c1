// A plain form with a skin manager that loads the internal skin from this executable's
// resources, as the program's main window does, and helpers that read what reached the
// screen.
#pragma once
#include "framework/win32/Application.h"
#include "framework/win32/Edit.h"
#include "framework/win32/Forms.h"
#include "paint/sGradient.h"
#include "skin/win32/sSkinManager.h"
#include "win32/InternalSkinResource.h"
#include "win32/MessagePump.h"
#include "InternalSkinLoad.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qv::test {

// The real pointer, moved and pressed through the system's input as a person would.
inline void MovePointer(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>(y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

inline void MouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof in);
}

// A right click (press and release) where the pointer is.
inline void RightClick() {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, in, sizeof in[0]);
}

// What the screen shows of a window now, as a 32-bit bitmap (top row first in Pixel32's
// coordinates, like every TBitmap).
inline std::unique_ptr<TBitmap> CaptureScreenOf(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(r.right - r.left, r.bottom - r.top);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(bmp->Canvas().Handle(), 0, 0, bmp->Width(), bmp->Height(), screen, r.left, r.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    ::GdiFlush();
    return bmp;
}

// 0x00RRGGBB of a pixel (alpha dropped) and of a framework colour.
inline std::uint32_t Rgb(const TBitmap& bmp, int x, int y) { return bmp.Pixel32(x, y) & 0xFFFFFF; }
inline std::uint32_t Rgb(TColor c) {
    const auto v = static_cast<std::uint32_t>(ColorToRGB(c));
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// Every channel within tolerance.
inline ::testing::AssertionResult Near(std::uint32_t got, std::uint32_t want, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) {
            char text[80];
            std::snprintf(text, sizeof text, "got %06X, expected %06X (+-%d)", got, want, tolerance);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

// The colour a vertical gradient of a section paints at row y of a face h pixels high.
inline std::uint32_t GradientRow(const TsSkinManager& m, int section, bool hot, int h, int y) {
    const TsGeneralData& gd = m.gd[static_cast<std::size_t>(section)];
    TBitmap g;
    g.SetPixelFormat(pf32bit);
    g.SetSize(4, h);
    PaintGrad(&g, {0, 0, 4, h}, hot ? gd.HotGradientArray : gd.GradientArray);
    return Rgb(g, 2, y);
}

class SkinnedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const auto pack = InternalSkinResource();
        ASSERT_NE(pack.first, nullptr) << "the internal skin is not among this executable's resources";
        form.reset(NewForm<TForm>(nullptr));
        form->SetBounds(40, 40, 400, 260);
        form->SetColor(clBtnFace);
        manager = new TsSkinManager(form.get());
        manager->BeginLoading();
        ActivateInternalSkin(*manager, kInternalSkin, pack.first, pack.second);
        manager->EndReading();
        static_cast<TComponent*>(manager)->Loaded();
        ASSERT_TRUE(manager->SkinData.Active);
    }
    void TearDown() override { form.reset(); }

    void ShowAndPaint() {
        form->Show();
        ::SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::UpdateWindow(form->Handle());
        // Until the form and its controls have painted; the pump's last round, with no
        // message left, hands the windows' pictures to the screen.
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(form->Handle()) && NothingToPaint(form->Handle()); }));
        Application().ProcessMessages();
        if (focus) {
            focus->SetFocus();
            EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == focus->Handle() && NothingToPaint(form->Handle()); }));
            Application().ProcessMessages();
        }
    }
    // A control owned by the form, inside parent (the form when none), at the bounds.
    template <class T>
    T* Place(int left, int top, int width, int height, TWinControl* parent = nullptr) {
        T* control = new T(form.get());
        control->AfterConstruction();
        control->SetParent(parent ? parent : form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }
    // An edit box that holds the focus once the form is shown: a focused button paints
    // hot, so the controls under test are kept out of focus.
    void AddFocusSink(int left, int top) { focus = Place<TEdit>(left, top, 100, 22); }

    std::unique_ptr<TForm> form;
    TsSkinManager* manager = nullptr;
    TEdit* focus = nullptr;
};

}  // namespace qv::test
