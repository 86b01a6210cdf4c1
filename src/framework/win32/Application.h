// The application object: the hidden application window, the message loop, the
// title, hooks on the application window, the default exception handler and the
// list of forms (Screen).
#pragma once
#include "framework/win32/Forms.h"

#include <exception>
#include <functional>
#include <vector>

namespace qv {

// Shows an exception's text to the user. The dialogs set this to their own message
// box; the default is MessageBoxW with MB_ICONERROR and the application title.
extern void (*ShowExceptionMessage)(const String& text);

// A hook on the application window: returns true when it answered the message
// (the answer in message.Result); then the window's own handling is skipped.
using TWindowHook = std::function<bool(TMessage& Message)>;
using TExceptionEvent = std::function<void(TComponent* Sender, const std::exception_ptr& E)>;

// The text of an exception as shown to the user.
String ExceptionMessage(const std::exception_ptr& e);

class TApplication : public TComponent {
public:
    TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;
    ~TApplication() override;

    void Initialize();
    bool MainFormOnTaskBar = false;
    bool ShowMainForm = true;

    // Creates a form owned by the application; the first one becomes the main form. An
    // exception while the form is created goes to the default handler, which shows it;
    // reference is then null (and without a main form Run returns at once).
    template <class T>
    void CreateForm(T*& reference) {
        T* form = nullptr;
        reference = nullptr;
        try {
            form = new T(this);
            reference = form;
            if (!FMainForm) FMainForm = form;
            form->AfterConstruction();
        } catch (...) {
            if (form && FMainForm == form) FMainForm = nullptr;
            reference = nullptr;
            delete form;
            HandleException(std::current_exception());
        }
    }
    TCustomForm* MainForm() const noexcept { return FMainForm; }

    // Shows the main form and handles messages until Terminate (the main form closed),
    // then destroys the forms the application owns, the main form with its components.
    void Run();
    void ProcessMessages();
    // Handles one message, or waits for one when the queue is empty.
    void HandleMessage();
    void Terminate();
    bool Terminated() const noexcept { return FTerminated; }

    String Title() const;
    void SetTitle(const String& title);
    // The hidden application window (class "TApplication"), created on first demand.
    HWND Handle();
    // The program's icon, the icon group "MAINICON" of the executable, in the system's
    // large and small icon sizes; null when the program carries none. The application
    // window and the main form show it.
    HICON Icon();
    HICON SmallIcon();

    // Hooks see every message of the application window before it does; owner
    // identifies the hook for UnhookMainWindow.
    void HookMainWindow(const void* owner, TWindowHook hook);
    void UnhookMainWindow(const void* owner);

    TExceptionEvent OnException;
    // Shows the current (or given) exception through OnException or
    // ShowExceptionMessage; the program goes on.
    void HandleException(std::exception_ptr e = std::current_exception()) noexcept;

    TNotifyEvent OnModalBegin, OnModalEnd;
    void ModalStarted();
    void ModalFinished();
    int ModalLevel() const noexcept { return FModalLevel; }

    // Message processing before dispatch: framework key reflection and dialog keys.
    bool IsKeyMsg(MSG& msg);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomForm;
    bool ProcessMessage(MSG& msg);
    void WndProc(TMessage& message);
    void LoadIcons() noexcept;
    static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    struct HookEntry {
        const void* Owner;
        TWindowHook Hook;
    };
    std::vector<HookEntry> FHooks;
    UniqueWindow FHandle;
    UniqueIcon FIcon, FSmallIcon;
    bool FIconsLoaded = false;
    TCustomForm* FMainForm = nullptr;
    String FTitle;
    bool FTitleSet = false;
    bool FTerminated = false;
    int FModalLevel = 0;
};

// The application object of the process.
TApplication& Application();

// The forms of the process in creation order, and the active one.
class TScreen {
public:
    int FormCount() const noexcept { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const { return FForms.at(index); }
    TCustomForm* ActiveForm() const noexcept { return FActiveForm; }
    TWinControl* ActiveControl() const noexcept;
    int Width() const noexcept;
    int Height() const noexcept;
    TRect WorkAreaRect() const noexcept;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form) noexcept;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
};

TScreen& Screen();

}  // namespace qv
