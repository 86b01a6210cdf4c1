// TApplication and TScreen.
#include "framework/win32/Application.h"

#include "framework/Strings.h"
#include "framework/SysUtils.h"

namespace qv {
namespace {

void DefaultShowExceptionMessage(const String& text) {
    const String title = Application().Title();
    ::MessageBoxW(::GetActiveWindow(), text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

void (*ShowExceptionMessage)(const String& text) = &DefaultShowExceptionMessage;

String ExceptionMessage(const std::exception_ptr& e) {
    if (!e) return {};
    try {
        std::rethrow_exception(e);
    } catch (const Exception& x) {
        return x.Message();
    } catch (const std::exception& x) {
        const char* what = x.what();
        return what ? Utf8ToString(std::string_view(what)) : String();
    } catch (...) {
        return L"Unknown exception";
    }
}

TApplication& Application() {
    // Lives for the whole process: windows may still send messages while statics die.
    static TApplication* application = new TApplication;
    return *application;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    Destroying();
    DestroyComponents();
}

void TApplication::Initialize() { Handle(); }

String TApplication::Title() const {
    if (FTitleSet) return FTitle;
    // The program may lie deeper than MAX_PATH characters: grow until the name fits.
    String path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return ChangeFileExt(ExtractFileName(path), String());
}

void TApplication::LoadIcons() noexcept {
    if (FIconsLoaded) return;
    FIconsLoaded = true;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    auto load = [instance](int widthMetric, int heightMetric) {
        return static_cast<HICON>(::LoadImageW(instance, L"MAINICON", IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                               ::GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
    };
    FIcon.reset(load(SM_CXICON, SM_CYICON));
    FSmallIcon.reset(load(SM_CXSMICON, SM_CYSMICON));
}

HICON TApplication::Icon() {
    LoadIcons();
    return FIcon.get();
}

HICON TApplication::SmallIcon() {
    LoadIcons();
    return FSmallIcon.get();
}

void TApplication::SetTitle(const String& title) {
    FTitle = title;
    FTitleSet = true;
    if (FHandle) ::SetWindowTextW(FHandle.get(), title.c_str());
}

HWND TApplication::Handle() {
    if (FHandle) return FHandle.get();
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!::GetClassInfoW(instance, L"TApplication", &wc)) {
        wc.lpfnWndProc = &TApplication::AppWndProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hIcon = Icon();
        wc.lpszClassName = L"TApplication";
        if (!::RegisterClassW(&wc)) throw Exception(L"Cannot register the application window class");
    }
    const String title = Title();
    HWND wnd = ::CreateWindowExW(0, L"TApplication", title.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                 ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                 nullptr, nullptr, instance, this);
    if (!wnd) throw Exception(L"Cannot create the application window");
    FHandle.reset(wnd);
    // Without the main form on the task bar, this window's button is the program's.
    if (HICON icon = Icon()) ::SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (HICON icon = SmallIcon()) ::SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return wnd;
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        // The default handling needs the window from its first message on.
        if (auto* created = static_cast<TApplication*>(cs->lpCreateParams)) created->FHandle.reset(wnd);
    }
    auto* app = reinterpret_cast<TApplication*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!app) return ::DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        app->WndProc(m);
    } catch (...) {
        app->HandleException(std::current_exception());
    }
    return m.Result;
}

void TApplication::WndProc(TMessage& message) {
    // Hooks first; a copy, since a hook may unhook itself.
    std::vector<HookEntry> hooks = FHooks;
    for (auto& entry : hooks)
        if (entry.Hook && entry.Hook(message)) return;
    switch (message.Msg) {
    case WM_CLOSE:
        if (FMainForm) FMainForm->Close();
        return;
    case WM_NCDESTROY:
        message.Result = ::DefWindowProcW(FHandle.get(), message.Msg, message.WParam, message.LParam);
        ::SetWindowLongPtrW(FHandle.get(), GWLP_USERDATA, 0);
        FHandle.release();
        return;
    default: message.Result = ::DefWindowProcW(FHandle.get(), message.Msg, message.WParam, message.LParam);
    }
}

void TApplication::HookMainWindow(const void* owner, TWindowHook hook) {
    for (auto& entry : FHooks)
        if (entry.Owner == owner) {
            entry.Hook = std::move(hook);
            return;
        }
    FHooks.push_back({owner, std::move(hook)});
}

void TApplication::UnhookMainWindow(const void* owner) {
    std::erase_if(FHooks, [owner](const HookEntry& e) { return e.Owner == owner; });
}

void TApplication::HandleException(std::exception_ptr e) noexcept {
    if (!e) return;
    try {
        if (OnException) OnException(this, e);
        else if (ShowExceptionMessage) ShowExceptionMessage(ExceptionMessage(e));
    } catch (...) {
        // The handler itself failed: nothing more can be shown.
    }
}

void TApplication::ModalStarted() {
    if (++FModalLevel == 1 && OnModalBegin) OnModalBegin(this);
}

void TApplication::ModalFinished() {
    if (FModalLevel == 0) return;
    if (--FModalLevel == 0 && OnModalEnd) OnModalEnd(this);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

// ---- message loop ----

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    TWinControl* control = TWinControl::FindControlOrParent(msg.hwnd);
    if (!control) return false;
    return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool handled = false;
    try {
        handled = IsKeyMsg(msg);
    } catch (...) {
        HandleException(std::current_exception());
        handled = true;
    }
    if (!handled) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) ::WaitMessage();
}

void TApplication::Run() {
    FTerminated = false;
    if (!FMainForm) return;
    if (ShowMainForm) FMainForm->Show();
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }
    // The application object lives as long as the process, so its forms would never be
    // destroyed: closing the main window destroys them here, and with them components
    // such as the skin manager, whose shut-down removes its hooks and frees its bitmaps.
    DestroyComponents();
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

// ---- TScreen ----

TScreen& Screen() {
    static TScreen* screen = new TScreen;
    return *screen;
}

void TScreen::AddForm(TCustomForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) noexcept {
    std::erase(FForms, form);
    if (FActiveForm == form) FActiveForm = nullptr;
}

TWinControl* TScreen::ActiveControl() const noexcept { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }

int TScreen::Width() const noexcept { return ::GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const noexcept { return ::GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const noexcept {
    RECT r{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) r = {0, 0, Width(), Height()};
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace qv
