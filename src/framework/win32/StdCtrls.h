// Standard controls over the system's own: push button, list box (items kept in the
// window, readable by other programs) and the windowless label.
#pragma once
#include "framework/StringList.h"
#include "framework/win32/Controls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/ImgList.h"

#include <functional>

namespace qv {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
using TTextLayout = TVerticalAlignment;  // the label's vertical placement
constexpr TTextLayout tlTop = taAlignTop, tlCenter = taVerticalCenter, tlBottom = taAlignBottom;
// Controls use the form border style's bsNone and bsSingle.
using TBorderStyle = TFormBorderStyle;

// A push button: "BUTTON" superclassed as "TButton". Clicking sets the owning form's
// ModalResult when ModalResult is not mrNone. Default answers Enter and Cancel answers
// Escape anywhere on the form.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    TButton(const TButton&) = delete;
    TButton& operator=(const TButton&) = delete;
    ~TButton() override;
    String ClassName() const override { return L"TButton"; }

    bool Default() const noexcept { return FDefault; }
    void SetDefault(bool on);
    bool Cancel = false;
    TModalResult ModalResult = mrNone;
    // Whether the button shows as the default one now (the focused button, or the
    // Default button while focus is on something that is not a button).
    bool Active() const noexcept { return FActive; }

    // Images painted on the button by the skin's button wrapper: the list, the image of
    // each state (-1, or an index outside the list: ImageIndex), where the image stands
    // and the space kept free around it.
    TImageList* Images() const noexcept { return FImages; }
    void SetImages(TImageList* images);
    int ImageIndex = -1;
    int HotImageIndex = -1, PressedImageIndex = -1, SelectedImageIndex = -1, DisabledImageIndex = -1;
    enum TImageAlignment { iaLeft, iaRight, iaTop, iaBottom, iaCenter };
    TImageAlignment ImageAlignment = iaLeft;
    TRect ImageMargins{0, 0, 0, 0};  // left, top, right, bottom

    void Click() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    // Switches between BS_PUSHBUTTON and BS_DEFPUSHBUTTON (owner-drawn buttons keep
    // their style and repaint).
    virtual void SetButtonStyle(bool isDefault);

private:
    void CMDialogKey(TMessage& message);
    void CMFocusChanged(TMessage& message);
    bool FDefault = false;
    bool FActive = false;
    TImageList* FImages = nullptr;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateFlag : std::uint16_t {
    odSelected = 1,
    odGrayed = 2,
    odDisabled = 4,
    odChecked = 8,
    odFocused = 16,
    odDefault = 32,
    odComboBoxEdit = 64,
};
using TOwnerDrawState = std::uint16_t;

class TListBox;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// The items of a list box. They live in the list box's window (LB_* messages), so
// another program can read them; while the window does not exist (recreation, no
// parent yet) they are kept here and given back to the next window.
class TListBoxStrings {
public:
    explicit TListBoxStrings(TListBox& listBox) noexcept : FListBox(listBox) {}
    int Count() const;
    String Strings(int index) const;  // EListError for an index out of range
    String operator[](int index) const { return Strings(index); }
    void Put(int index, const String& s);
    int Add(const String& s);
    void Insert(int index, const String& s);  // index Count() appends
    void Delete(int index);
    void Clear();
    int IndexOf(const String& s) const;  // exact match, -1 when absent
    void Assign(const TStringList& source);
    // Replaces dest's items by these (dest keeps its own encoding).
    void AssignTo(TStringList& dest) const;
    // Many changes without repainting between them.
    void BeginUpdate();
    void EndUpdate();

private:
    TListBox& FListBox;
    int FUpdateCount = 0;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    TListBox(const TListBox&) = delete;
    TListBox& operator=(const TListBox&) = delete;
    ~TListBox() override;
    String ClassName() const override { return L"TListBox"; }

    TListBoxStrings& Items() noexcept { return FItems; }
    const TListBoxStrings& Items() const noexcept { return FItems; }
    int Count() const { return FItems.Count(); }

    // -1 means no selection.
    int ItemIndex();
    void SetItemIndex(int index);
    int TopIndex();
    void SetTopIndex(int index);
    int ItemAtPos(TPoint p, bool existing);
    TRect ItemRect(int index);

    TListBoxStyle Style() const noexcept { return FStyle; }
    void SetStyle(TListBoxStyle style);
    // Height of every item (fixed styles) and the default for variable ones.
    int ItemHeight();
    void SetItemHeight(int height);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    bool IntegralHeight() const noexcept { return FIntegralHeight; }
    void SetIntegralHeight(bool on);
    bool Sorted() const noexcept { return FSorted; }
    void SetSorted(bool on);
    bool MultiSelect() const noexcept { return FMultiSelect; }
    void SetMultiSelect(bool on);

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TCanvas& Canvas() noexcept { return FCanvas; }

protected:
    friend class TListBoxStrings;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    // Paints one owner-drawn item with Canvas set to the item's DC: OnDrawItem, or the
    // item's text on the selection or window colour.
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);

    // Whether the items are in a window now (making it when there is a parent).
    bool ItemsInWindow() const;
    HWND ListHandle() const;
    // Gives a variable-height item its height after it was inserted.
    void ApplyItemHeight(int index);
    // Appends items to the window in one batch: storage for all of them is asked for
    // first, and each goes straight to the system list's own procedure, past the
    // framework's and the skin wrappers' message paths (a round of those per item costs
    // more than the item itself). Whoever watches the list learns of the batch from the
    // redraw switch the caller turns back on.
    void AppendToWindow(const TStringList& items);
    void SaveItems();

private:
    void CNCommand(TMessage& message);
    void CNDrawItem(TMessage& message);
    void CNMeasureItem(TMessage& message);

    TListBoxStrings FItems{*this};
    TStringList FSavedItems;  // the items while there is no window
    int FSavedItemIndex = -1;
    int FSavedTopIndex = 0;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
    TBorderStyle FBorderStyle = bsSingle;
    bool FIntegralHeight = false;
    bool FSorted = false;
    bool FMultiSelect = false;
    TCanvas FCanvas;
};

// A caption drawn on the parent: no window of its own.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    TLabel(const TLabel&) = delete;
    TLabel& operator=(const TLabel&) = delete;
    ~TLabel() override;
    String ClassName() const override { return L"TLabel"; }

    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool on);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool on);
    bool Transparent() const noexcept { return FTransparent; }
    void SetTransparent(bool on);
    bool ShowAccelChar() const noexcept { return FShowAccelChar; }
    void SetShowAccelChar(bool on);
    // The control that gets the focus when the label's accelerator key is pressed.
    TWinControl* FocusControl() const noexcept { return FFocusControl; }
    void SetFocusControl(TWinControl* control);

    // The DrawText flags the label paints with (alignment, wrapping, prefix).
    UINT TextFlags() const noexcept;
    // Fits the size to the text (width kept when wrapping).
    void AdjustBounds();

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

// Whether key is the accelerator ("&x") of caption.
bool IsAccel(wchar_t key, const String& caption) noexcept;

}  // namespace qv
