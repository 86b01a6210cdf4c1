// Forms: top-level framework windows with a border style, position, size limits,
// screen snapping, keyboard preview, an active control, modal showing, and the
// description pattern that creates their components.
#pragma once
#include "framework/win32/Controls.h"

#include <vector>

namespace qv {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : std::uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = std::uint8_t;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateFlag : std::uint8_t { fsCreating = 1, fsVisible = 2, fsShowing = 4, fsModal = 8, fsActivated = 16 };
using TFormState = std::uint8_t;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrClose = 8, mrHelp = 9, mrTryAgain = 10,
                       mrContinue = 11, mrAll = mrContinue + 1, mrNoToAll = mrAll + 1, mrYesToAll = mrNoToAll + 1;

using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TComponent* Sender, bool& CanClose)>;

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}
    String ClassName() const override { return L"TScrollingWinControl"; }
};

// Reads a form description written as code: every component is created in
// description order with its loading flags set, its properties are assigned in order,
// and Finish then calls Loaded on the root and on each component in that order. The
// skin manager relies on this order (its skin is announced from its Loaded).
//
//     void TTestForm::ReadDescription(TDescriptionReader& reader) {
//         SetCaption(L"Test");                                // the root's properties
//         Button1 = reader.Create<TButton>(this, L"Button1"); // loading flags set
//         Button1->SetParent(this);
//         Button1->SetCaption(L"OK");
//     }
class TDescriptionReader {
public:
    explicit TDescriptionReader(TComponent& root);
    ~TDescriptionReader();
    TDescriptionReader(const TDescriptionReader&) = delete;
    TDescriptionReader& operator=(const TDescriptionReader&) = delete;

    template <class T>
    T* Create(TComponent* owner, const String& name) {
        T* component = new T(owner);
        Add(component, name);
        return component;
    }
    // Ends reading: Loaded on the root, then on every component in creation order.
    void Finish();

private:
    void Add(TComponent* component, const String& name);
    std::vector<TComponent*> FLoaded;
    bool FFinished = false;
};

class TCustomForm : public TScrollingWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    TCustomForm(const TCustomForm&) = delete;
    TCustomForm& operator=(const TCustomForm&) = delete;
    ~TCustomForm() override;
    String ClassName() const override { return L"TCustomForm"; }

    // Reads the description (ReadDescription) and calls OnCreate. Run once, after the
    // most derived constructor: Application().CreateForm and NewForm do this.
    void AfterConstruction() override;

    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const noexcept { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const noexcept { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    TFormStyle FormStyle = fsNormal;
    TDefaultMonitor DefaultMonitor = dmActiveForm;
    bool ScreenSnap = false;
    // The designed size is the outer one (as a stored form with its frame): scaling for
    // another DPI scales the whole window, not its client area.
    bool ScaleOuterSize = false;
    int SnapBuffer = 10;
    bool KeyPreview = false;
    HICON Icon = nullptr;  // not owned

    TRect ClientRect() override;
    void SetClientWidth(int v) override;
    void SetClientHeight(int v) override;
    void SetVisible(bool visible) override;
    void SetBounds(int left, int top, int width, int height) override;

    // The DPI the form is laid out for: the one of the monitor it opened on, then the one
    // each WM_DPICHANGED brings. Its controls are laid out for the same DPI.
    int Dpi() const noexcept { return FDpi; }
    // Lays the form out for dpi: its client size, fonts and every designed length scale
    // by dpi / Dpi().
    void ScaleForDpi(int dpi);
    void ChangeScale(int toDpi, int fromDpi) override;

    TWinControl* ActiveControl() const noexcept { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // Focus moved to control (called by the controls): CM_EXIT / CM_ENTER, then
    // CM_FOCUSCHANGED to the whole form.
    bool SetFocusedControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    bool Active() const noexcept { return FActive; }

    TModalResult ModalResult() const noexcept { return FModalResult; }
    void SetModalResult(TModalResult result) { FModalResult = result; }
    TFormState FormState = 0;

    void Close();
    bool CloseQuery();
    // Shows the form modally: other windows of the thread are disabled, the form runs
    // its own message loop until ModalResult is set or the form closes.
    TModalResult ShowModal();
    // Frees the form once the messages already posted to it are handled.
    void Release();
    void BringToFrontOfThread();

    TNotifyEvent OnCreate, OnShow, OnHide, OnDestroy, OnActivate, OnDeactivate, OnResize;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;

protected:
    // Creates the form's components; see TDescriptionReader.
    virtual void ReadDescription(TDescriptionReader& reader) { (void)reader; }
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DoClose(TCloseAction& action);
    void AlignControls(TControl* aControl, TRect& rect) override;

    bool IsTopLevel() const override { return Parent() == nullptr; }
    void ShowHandle(bool show) override;

private:
    friend class TWinControl;
    // A control of this form is going away or moving elsewhere: forget it as active.
    void ControlGone(TWinControl* control) noexcept;
    void FormStyles(DWORD& style, DWORD& exStyle) const noexcept;
    void CloseModal();
    void WMGetMinMaxInfo(TMessage& message);
    void WMWindowPosChanging(TMessage& message);
    void WMActivate(TMessage& message);
    void WMClose(TMessage& message);
    void WMDpiChanged(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMShowingChanged(TMessage& message);
    void ApplyPosition();
    TSize FrameSize();  // outer size minus client size for the current styles
    bool KeyPreviewHandles(TMessage& message);

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FActive = false;
    bool FPositioned = false;
    bool FCreated = false;
    int FDpi = kDesignDpi;
    // Set while the window takes the rectangle a DPI change suggests: it takes it as it
    // is, without snapping to an edge.
    bool FTakingSuggestedRect = false;
    TSize FSuggestedSize;
    TDpiLength FClientWidth, FClientHeight;
    void ScaleWindowSize(const TRect& client, TSize outer, int toDpi, int fromDpi);
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
    String ClassName() const override { return L"TForm"; }
};

// Constructs a form (or any component) and runs AfterConstruction.
template <class T, class... Args>
T* NewForm(Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    try {
        form->AfterConstruction();
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

}  // namespace qv
