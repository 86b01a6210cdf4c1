#include "controls/win32/acGlow.h"

#include "controls/sCommonDataCore.h"
#include "controls/win32/acManagerSource.h"
#include "controls/win32/sCommonData.h"
#include "framework/win32/Application.h"
#include "framework/win32/Handles.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils_Item.h"
#include "paint/win32/sGraphUtils_System.h"
#include "skin/win32/sStyleSimply.h"

#include <algorithm>
#include <cstdint>

namespace qv {

std::vector<std::unique_ptr<TacGlowEffect>> acgEffects;

namespace {

constexpr wchar_t kGlowClass[] = L"TacGlowForm";
// The automatic skinning leaves windows carrying this tag alone.
constexpr wchar_t kGlowTagProp[] = L"acTag";
constexpr LONG_PTR kGlowTag = -98;

// Source-over with per-pixel alpha and full constant alpha, for every glow update.
const BLENDFUNCTION FBlend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

LRESULT CALLBACK GlowWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    // The glow never takes the mouse: clicks and hover go to whatever lies below.
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

bool RegisterGlowClass() noexcept {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &GlowWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kGlowClass;
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    registered = ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

// Wine shows a layered window without its per-pixel alpha: pixels of alpha 0 are cut
// out, all others are drawn opaque, so the faint outer glow would show as a dark ring.
bool LayeredAlphaIgnored() noexcept {
    static const bool ignored = [] {
        HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return ignored;
}

// Blends the premultiplied glow over what the screen shows under it now, opaque, so a
// system that ignores the alpha still shows the soft halo; alpha-0 pixels stay cut out.
void ComposeOverScreen(TBitmap& glow, int left, int top) {
    const int w = glow.Width(), h = glow.Height();
    TBitmap behind(w, h, pf32bit);
    {
        const WindowDC screen(nullptr);
        ::BitBlt(behind.Canvas().Handle(), 0, 0, w, h, screen.get(), left, top, SRCCOPY);
    }
    ::GdiFlush();
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = glow.ScanLine(y);
        const std::uint8_t* b = behind.ScanLine(y);
        // NOLINTNEXTLINE(bugprone-infinite-loop): x is advanced in the increment, with the pointers
        for (int x = 0; x < w; ++x, p += 4, b += 4) {
            const int a = p[3];
            if (a == 0) continue;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(std::min(255, p[c] + b[c] * (255 - a) / 255));
            p[3] = 255;
        }
    }
}

}  // namespace

TacGlowEffect::~TacGlowEffect() { RestoreAndDestroy(); }

void TacGlowEffect::RestoreAndDestroy() noexcept {
    if (!Wnd) return;
    if (::IsWindow(Wnd)) {
        ::RemovePropW(Wnd, kGlowTagProp);
        ::DestroyWindow(Wnd);
    }
    Wnd = nullptr;
}

void TacGlowEffect::Show(const TRect& R, const TRect& realRect, HWND ownerWnd) {
    if (Wnd || !SkinManager || !SkinManager->IsValidImgIndex(MaskIndex) || !RegisterGlowClass()) return;
    const TsMaskData& md = SkinManager->ma[MaskIndex];
    const int mL = SkinManager->MaskWidthLeft(MaskIndex), mT = SkinManager->MaskWidthTop(MaskIndex),
              mR = SkinManager->MaskWidthRight(MaskIndex), mB = SkinManager->MaskWidthBottom(MaskIndex);
    const TacGlowGeometry g = CalcGlowGeometry(R, realRect, mL, mT, mR, mB, Margin);
    const int w = g.Window.Width(), h = g.Window.Height();
    if (g.Full.cx <= 0 || g.Full.cy <= 0 || w <= 0 || h <= 0) return;

    TBitmap full(g.Full.cx, g.Full.cy, pf32bit);  // zeroed: fully transparent
    DrawSkinRect(&full, TRect{0, 0, g.Full.cx, g.Full.cy}, false, EmptyCI, md, 0, false, ManagerSource(SkinManager));
    TBitmap shown(w, h, pf32bit);
    ::BitBlt(static_cast<HDC>(shown.Canvas().Handle()), 0, 0, w, h, full.Canvas().Handle(), g.Cut.X, g.Cut.Y, SRCCOPY);

    Wnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kGlowClass, L"",
                            WS_POPUP, g.Window.Left, g.Window.Top, w, h, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                            nullptr);
    if (!Wnd) return;
    OldWndProc = &::DefWindowProcW;
    ::SetPropW(Wnd, kGlowTagProp, reinterpret_cast<HANDLE>(kGlowTag));

    HWND insertAfter = HWND_TOPMOST;
    if (ownerWnd && (::GetWindowLongPtrW(ownerWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0) {
        const HWND previous = ::GetWindow(ownerWnd, GW_HWNDPREV);
        insertAfter = previous ? previous : ownerWnd;
    }
    ::SetWindowPos(Wnd, insertAfter, g.Window.Left, g.Window.Top, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);

    if (LayeredAlphaIgnored()) ComposeOverScreen(shown, g.Window.Left, g.Window.Top);
    {
        const WindowDC screen(nullptr);
        POINT dst{g.Window.Left, g.Window.Top}, src{0, 0};
        SIZE size{w, h};
        ::UpdateLayeredWindow(Wnd, screen.get(), &dst, &size, shown.Canvas().Handle(), &src, 0,
                              const_cast<BLENDFUNCTION*>(&FBlend), ULW_ALPHA);
    }
    ::ShowWindow(Wnd, SW_SHOWNOACTIVATE);
}

int ShowGlow(const TRect& R, const TRect& realRect, const String& section, TsSkinManager* manager, HWND ownerWnd,
             int alpha, int margin, const String& name) {
    (void)alpha;  // the constant alpha stays 255; the image's own alpha shapes the glow
    if (!acLayered()) return -1;
    if (!manager) manager = DefaultManager;
    if (!manager) return -1;
    auto effect = std::make_unique<TacGlowEffect>(manager);
    const int skinIndex = manager->GetSkinIndex(section);
    effect->MaskIndex = manager->GetMaskIndex(skinIndex, section, name + L"0");
    if (!manager->IsValidImgIndex(effect->MaskIndex)) return -1;
    effect->Margin = margin;
    TacGlowEffect* raw = effect.get();
    acgEffects.push_back(std::move(effect));
    const int id = static_cast<int>(acgEffects.size()) - 1;
    raw->Show(R, realRect, ownerWnd);
    return id;
}

void HideGlow(int id) noexcept {
    if (id < 0 || id >= static_cast<int>(acgEffects.size())) return;
    acgEffects[static_cast<std::size_t>(id)].reset();
}

void ClearGlows(bool restoreWindows) noexcept {
    (void)restoreWindows;  // glow windows always get their procedure back and go at once
    acgEffects.clear();
}

void InstallControlSeams() noexcept {
    static bool installed = false;
    if (installed) return;
    installed = true;
    acWindowSkinning.RemoveAllGlows = [] { ClearGlows(true); };
    acWindowSkinning.BindingMouseAbove = [](LRESULT commonData) {
        return commonData && reinterpret_cast<TsCommonData*>(commonData)->MouseAbove();
    };
}

}  // namespace qv
