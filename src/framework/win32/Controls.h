// Controls: TControl (a rectangle on a parent, with a replaceable message method),
// TGraphicControl (no window: painted by its parent), TWinControl (a window created on
// first demand, children, alignment, focus and tab order) and TCustomControl (a window
// that paints itself through a canvas).
#pragma once
#include "framework/Classes.h"
#include "framework/DpiScale.h"
#include "framework/Types.h"
#include "framework/win32/Canvas.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Messages.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qv {

class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

enum TAnchorKind : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = std::uint8_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : std::uint16_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = std::uint16_t;

// Cursor identifiers; crDefault lets the parent decide.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
                  crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18, crHandPoint = -21,
                  crSizeAll = -22;

// What a control is doing now.
enum TControlStateFlag : std::uint32_t {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csPalette = 1u << 2,
    csReadingState = 1u << 3,
    csAlignmentNeeded = 1u << 4,
    csFocusing = 1u << 5,
    csCreating = 1u << 6,
    csPaintCopy = 1u << 7,
    csCustomPaint = 1u << 8,
    csDestroyingHandle = 1u << 9,
    csDocking = 1u << 10,
    csRecreating = 1u << 11,
};
using TControlState = std::uint32_t;

// What a control is able to do.
enum TControlStyleFlag : std::uint32_t {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csDesignInteractive = 1u << 2,
    csClickEvents = 1u << 3,
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,
    csOpaque = 1u << 6,
    csDoubleClicks = 1u << 7,
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csNoDesignVisible = 1u << 10,
    csReplicatable = 1u << 11,
    csNoStdEvents = 1u << 12,
    csDisplayDragImage = 1u << 13,
    csReflector = 1u << 14,
    csActionClient = 1u << 15,
    csMenuEvents = 1u << 16,
    csNeedsBorderPaint = 1u << 17,
    csParentBackground = 1u << 18,
};
using TControlStyle = std::uint32_t;

using TNotifyEvent = std::function<void(TComponent* Sender)>;
using TMouseEvent = std::function<void(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TComponent* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TComponent* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TComponent* Sender, wchar_t& Key)>;
// A control's message method: WndProc by default; wrappers put their own in front.
using TWndMethod = std::function<void(TMessage& Message)>;

// The space kept free around a control aligned with AlignWithMargins.
class TMargins {
public:
    explicit TMargins(TControl* control) noexcept : FControl(control) {}
    int Left() const noexcept { return FLeft; }
    int Top() const noexcept { return FTop; }
    int Right() const noexcept { return FRight; }
    int Bottom() const noexcept { return FBottom; }
    void SetLeft(int v) { SetBounds(v, FTop, FRight, FBottom); }
    void SetTop(int v) { SetBounds(FLeft, v, FRight, FBottom); }
    void SetRight(int v) { SetBounds(FLeft, FTop, v, FBottom); }
    void SetBottom(int v) { SetBounds(FLeft, FTop, FRight, v); }
    void SetBounds(int left, int top, int right, int bottom);

private:
    TControl* FControl;
    int FLeft = 3, FTop = 3, FRight = 3, FBottom = 3;
};

// Limits of a control's size; 0 means no limit. For a form they apply to the outer
// window.
class TSizeConstraints {
public:
    explicit TSizeConstraints(TControl* control) noexcept : FControl(control) {}
    int MinWidth() const noexcept { return FMinWidth; }
    int MinHeight() const noexcept { return FMinHeight; }
    int MaxWidth() const noexcept { return FMaxWidth; }
    int MaxHeight() const noexcept { return FMaxHeight; }
    void SetMinWidth(int v);
    void SetMinHeight(int v);
    void SetMaxWidth(int v);
    void SetMaxHeight(int v);
    // width and height limited by the constraints.
    void Apply(int& width, int& height) const noexcept;

private:
    void Changed();
    TControl* FControl;
    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    ~TControl() override;

    // The window class name of windowed controls, and the name wrappers look up.
    virtual String ClassName() const { return L"TControl"; }

    TWinControl* Parent() const noexcept { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const noexcept { return FLeft; }
    int Top() const noexcept { return FTop; }
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    // Position in the parent's client area; the size is limited by Constraints.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const noexcept { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Right; }
    int ClientHeight() { return ClientRect().Bottom; }
    virtual void SetClientWidth(int v) { SetWidth(v); }
    virtual void SetClientHeight(int v) { SetHeight(v); }
    TPoint ClientOrigin();  // screen position of the client area's top-left corner
    TPoint ClientToScreen(TPoint p) {
        TPoint o = ClientOrigin();
        return {p.X + o.X, p.Y + o.Y};
    }
    TPoint ScreenToClient(TPoint p) {
        TPoint o = ClientOrigin();
        return {p.X - o.X, p.Y - o.Y};
    }

    bool Visible() const noexcept { return FVisible; }
    virtual void SetVisible(bool visible);
    void Show();
    void Hide() { SetVisible(false); }
    bool Enabled() const noexcept { return FEnabled; }
    virtual void SetEnabled(bool enabled);

    // Caption and Text are the same string (the window text of windowed controls).
    String Caption() { return GetText(); }
    void SetCaption(const String& text) { SetText(text); }
    virtual String GetText();
    virtual void SetText(const String& text);
    String Text() { return GetText(); }

    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor color);
    bool ParentColor() const noexcept { return FParentColor; }
    void SetParentColor(bool on);
    TFont& Font() noexcept { return FFont; }
    bool ParentFont() const noexcept { return FParentFont; }
    void SetParentFont(bool on);

    TAlign Align() const noexcept { return FAlign; }
    void SetAlign(TAlign align);
    bool AlignWithMargins() const noexcept { return FAlignWithMargins; }
    void SetAlignWithMargins(bool on);
    TMargins& Margins() noexcept { return FMargins; }
    TSizeConstraints& Constraints() noexcept { return FConstraints; }
    TAnchors Anchors() const noexcept { return FAnchors; }
    void SetAnchors(TAnchors anchors) { FAnchors = anchors; }

    String Hint;
    bool ShowHint = false;
    TCursor Cursor() const noexcept { return FCursor; }
    void SetCursor(TCursor cursor);

    TControlState ControlState = 0;
    TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;

    TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Sends a message through WindowProc, as the system would for a window.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The control's message method; WndProc unless a wrapper replaced it. A wrapper
    // keeps the previous value, calls it for what it does not handle, and puts it back.
    TWndMethod WindowProc;
    // The handler behind WindowProc: mouse and notification bookkeeping, then Dispatch.
    virtual void WndProc(TMessage& message);
    // Message handlers by message number; unknown messages go to DefaultHandler.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    bool MouseCapture();
    void SetMouseCapture(bool on);
    // Whether the mouse is over this control (between CM_MOUSEENTER and CM_MOUSELEAVE).
    bool MouseInClient() const noexcept { return FMouseInClient; }

    virtual void Click();
    virtual void DblClick();
    void Loaded() override;
    // Whether this control and all its parents are visible with windows showing.
    virtual bool IsShowing();
    // Scales what is given in pixels (bounds, margins, size limits, a font of its own)
    // from one DPI to another; windowed controls scale their children too. Lengths
    // nobody changed since the last scaling are scaled from where they began, so a
    // window that goes through several DPIs and back ends as it started.
    virtual void ChangeScale(int toDpi, int fromDpi);

protected:
    friend class TWinControl;
    friend class TMargins;
    friend class TSizeConstraints;
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // Asks the parent to lay out its children again after a layout property changed.
    void RequestAlign();
    virtual void VisibleChanging() {}
    virtual void BoundsChanged() {}
    // Stores the bounds without moving anything (used when the window moved itself).
    void UpdateBoundsRect(const TRect& r);

    // Handlers of the framework notifications every control answers.
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);

    String FText;
    TColor FColor = clWindow;
    bool FMouseInClient = false;

    void MouseMessage(TMessage& message);
    void FontChanged();

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true, FEnabled = true;
    bool FParentColor = true, FParentFont = true, FAlignWithMargins = false;
    bool FUpdatingParentFont = false;
    TFont FFont;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    TMargins FMargins{this};
    TSizeConstraints FConstraints{this};
    TCursor FCursor = crDefault;

    // ChangeScale without the bounds: margins, size limits and a font of its own.
    void ScaleLengthsAroundBounds(int toDpi, int fromDpi);

private:
    enum TScaledLength {
        slLeft,
        slTop,
        slWidth,
        slHeight,
        slMarginLeft,
        slMarginTop,
        slMarginRight,
        slMarginBottom,
        slMinWidth,
        slMinHeight,
        slMaxWidth,
        slMaxHeight,
        slFont,
        slCount
    };
    std::array<TDpiLength, slCount> FDpiLengths{};
};

// A control without a window, painted by its parent's WM_PAINT through Paint.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TGraphicControl(const TGraphicControl&) = delete;
    TGraphicControl& operator=(const TGraphicControl&) = delete;
    ~TGraphicControl() override;
    String ClassName() const override { return L"TGraphicControl"; }
    TCanvas& Canvas() noexcept { return FCanvas; }
    // Called by the parent with Canvas set to the parent's paint DC, moved to this
    // control's origin and clipped to its bounds.
    virtual void Paint() {}
    void PaintOn(HDC dc);

protected:
    void Dispatch(TMessage& message) override;

private:
    TControlCanvas FCanvas;
};

// What CreateWnd needs to register a class and create the window.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSW WindowClass{};
    String WinClassName;
    // The procedure unhandled messages go to: DefWindowProcW, or the system class's
    // own procedure for a superclassed standard control.
    WNDPROC DefWndProc = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    TWinControl(const TWinControl&) = delete;
    TWinControl& operator=(const TWinControl&) = delete;
    ~TWinControl() override;
    String ClassName() const override { return L"TWinControl"; }

    // The window, created (with the parents' windows) on first demand.
    HWND Handle();
    bool HandleAllocated() const noexcept { return FHandle != nullptr; }
    void HandleNeeded();
    void DestroyHandle();
    // Destroys the window and creates it again with the current properties.
    void RecreateWnd();
    // The object behind a window of ours, or nullptr.
    static TWinControl* FindControl(HWND wnd) noexcept;
    // The object of wnd or of its nearest parent window that is ours.
    static TWinControl* FindControlOrParent(HWND wnd) noexcept;

    int ControlCount() const noexcept { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(index); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control) noexcept;
    bool ContainsControl(TControl* control) const noexcept;
    // The visible (or any, with allowDisabled) enabled child at a client point.
    TControl* ControlAtPos(TPoint p, bool allowDisabled = false, bool allowWinControls = false);

    // Tab order among the windowed children of the parent; -1 when there is no parent.
    int TabOrder() const noexcept;
    void SetTabOrder(int order);
    bool TabStop() const noexcept { return FTabStop; }
    void SetTabStop(bool on);
    // Windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& list);
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    bool Focused();
    virtual bool CanFocus();
    virtual void SetFocus();

    // Lays out the children by Align: alTop (by their Top, then list order), alBottom
    // (lowest first), alLeft, alRight, then alClient fills what is left.
    virtual void AlignControls(TControl* aControl, TRect& rect);
    void ChangeScale(int toDpi, int fromDpi) override;
    // ChangeScale of every child, alignment held for the caller.
    void ScaleChildren(int toDpi, int fromDpi);
    void Realign();
    void DisableAlign() noexcept { ++FAlignLevel; }
    void EnableAlign();
    // The area alignment works in.
    virtual void AdjustClientRect(TRect& rect) { (void)rect; }

    TBrush& Brush() noexcept { return FBrush; }
    bool DoubleBuffered = false;
    bool ParentBackground = false;

    bool IsShowing() override;
    bool Showing() const noexcept { return FShowing; }
    TRect ClientRect() override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    String GetText() override;
    void SetText(const String& text) override;

    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    // Paints the window and its graphic children into dc at (x, y).
    void PaintTo(HDC dc, int x, int y);

    // Hands a message to the window's own default procedure.
    void DefWndProc(TMessage& message);
    void DefaultHandler(TMessage& message) override;
    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

    // The window procedure of every framework window.
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

protected:
    friend class TControl;
    friend class TCustomForm;
    virtual void CreateParams(TCreateParams& params);
    // Makes params a superclass of a system class (L"BUTTON", L"LISTBOX", ...): our
    // class name, the system class's procedure behind DefWndProc.
    static void CreateSubClass(TCreateParams& params, const wchar_t* systemClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // After the window exists: children windows, then showing state.
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    void UpdateShowing();
    void UpdateControlState();
    virtual void SetZOrderOfWindow();

    // Painting: PaintWindow paints the window itself, PaintControls the graphic children.
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc, TControl* first);
    void PaintHandler(TMessage& message);

    // Keyboard: the framework's reflection of key messages before translation.
    virtual bool DoKeyDown(TMessage& message);
    virtual bool DoKeyPress(TMessage& message);
    virtual bool DoKeyUp(TMessage& message);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    virtual bool IsDialogKey(WORD key, LPARAM keyData);

    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg);

    // Notifies the parent form about focus changes.
    void DoEnter();
    void DoExit();
    // Whether this control stands on its own as a top-level window (forms).
    virtual bool IsTopLevel() const { return false; }
    // Shows or hides the existing window when the showing state changes.
    virtual void ShowHandle(bool show);
    void Loaded() override;
    // Puts the windowed children in the tab order their descriptions asked for.
    void FixupTabList();

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FShowing = false;

private:
    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMMouseMoveForChildren(TMessage& message);
    bool RouteMouseToGraphicChild(TMessage& message);
    void WMCommandReflect(TMessage& message);
    void WMNotifyReflect(TMessage& message);
    void WMDrawItemReflect(TMessage& message);
    void WMCtlColorReflect(TMessage& message);
    void CNKeyDown(TMessage& message);
    void CNChar(TMessage& message);
    void CMDialogKeyOrChar(TMessage& message);
    void CMFocusChanged(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMChar(TMessage& message);
    void WMSetCursor(TMessage& message);
    void CMEnabledChanged();
    void CMColorChanged();
    void CMFontChanged();
    void SetGraphicMouseControl(TControl* control);
    void MouseLeft();
    static TWinControl* GMouseWindow;
    void AlignOne(TControl* control, TAlign align, TRect& rect);

    std::vector<TControl*> FControls;    // children in Z-order (not owned)
    std::vector<TWinControl*> FTabList;  // windowed children in tab order
    TBrush FBrush;
    int FAlignLevel = 0;
    bool FTabStop = false;
    bool FTrackingMouse = false;
    bool FInAlign = false;
    TControl* FMouseControl = nullptr;    // graphic child under the mouse
    TControl* FCaptureControl = nullptr;  // graphic child that got the mouse down
    int FTabOrderWanted = -1;             // tab order read from a description
    bool FBufferedErase = false;          // WM_ERASEBKGND into the paint buffer
};

// A window that paints itself: WM_PAINT sets Canvas to the paint DC and calls Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    TCustomControl(const TCustomControl&) = delete;
    TCustomControl& operator=(const TCustomControl&) = delete;
    ~TCustomControl() override;
    String ClassName() const override { return L"TCustomControl"; }
    TCanvas& Canvas() noexcept { return FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    TControlCanvas FCanvas;
};

// Form owning a control, or nullptr.
TCustomForm* GetParentForm(TControl* control) noexcept;

// Key state of the keyboard as the framework's shift flags.
TShiftState KeyboardShiftState() noexcept;

}  // namespace qv
