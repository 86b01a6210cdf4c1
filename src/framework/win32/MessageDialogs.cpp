// Message dialogs built as framework forms ("TMessageForm") with framework buttons.
#include "framework/win32/Application.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/Dpi.h"
#include "framework/win32/StaticText.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qv {

namespace {

struct ButtonKind {
    TMsgDlgBtn Button;
    const wchar_t* Name;  // component name
    const wchar_t* Caption;
    TModalResult Result;
};

// In the order the buttons appear, left to right.
constexpr std::array<ButtonKind, 12> kButtonKinds{{
    {mbYes, L"Yes", L"&Yes", mrYes},
    {mbNo, L"No", L"&No", mrNo},
    {mbOK, L"OK", L"OK", mrOk},
    {mbCancel, L"Cancel", L"Cancel", mrCancel},
    {mbAbort, L"Abort", L"&Abort", mrAbort},
    {mbRetry, L"Retry", L"&Retry", mrRetry},
    {mbIgnore, L"Ignore", L"&Ignore", mrIgnore},
    {mbAll, L"All", L"&All", mrAll},
    {mbNoToAll, L"NoToAll", L"N&o to All", mrNoToAll},
    {mbYesToAll, L"YesToAll", L"Yes to &All", mrYesToAll},
    {mbHelp, L"Help", L"&Help", mrNone},  // help does not close the dialog
    {mbClose, L"Close", L"&Close", mrClose},
}};

// Layout in pixels at 96 dots per inch.
constexpr int kMargin = 10;  // around everything
constexpr int kIconTextGap = 12;
constexpr int kTextButtonsGap = 14;
constexpr int kButtonGap = 6;
constexpr int kButtonMinWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kIconSize = 32;

// The system's message font (what its own message boxes use), at the form's DPI.
void SetMessageFont(TFont& font, int dpi) {
    NONCLIENTMETRICSW metrics{};
    if (!NonClientMetricsForDpi(metrics, dpi)) return;
    UniqueFont messageFont(::CreateFontIndirectW(&metrics.lfMessageFont));
    if (messageFont) font.SetHandle(messageFont.get());
    font.SetColor(clWindowText);
}

// The size text takes in font, wrapped at maxWidth; an empty text still has one line.
TSize TextSize(const String& text, TFont& font, int maxWidth, UINT flags) {
    return MeasureScreenText(text.empty() ? String(L" ") : text, font.Handle(), flags, maxWidth);
}

LPCWSTR IconOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return IDI_WARNING;
    case mtError: return IDI_ERROR;
    case mtInformation: return IDI_INFORMATION;
    case mtConfirmation: return IDI_QUESTION;
    case mtCustom: break;
    }
    return nullptr;
}

}  // namespace

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) {}

TMessageForm::~TMessageForm() { Destroying(); }

// The body is the form's background, filled when the window is erased, so that a frame
// skinner that paints the background replaces it; the icon goes over whichever it is.
void TMessageForm::PaintWindow(HDC dc) {
    if (FIcon)
        ::DrawIconEx(dc, FIconRect.Left, FIconRect.Top, FIcon, FIconRect.Width(), FIconRect.Height(), 0, nullptr,
                     DI_NORMAL);
}

String MessageDialogCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return L"Warning";
    case mtError: return L"Error";
    case mtInformation: return L"Information";
    case mtConfirmation: return L"Confirmation";
    case mtCustom: break;
    }
    return Application().Title();
}

namespace {

// Text wraps at a readable width: three quarters of the screen at most, and no narrower
// than a line of about fifty average characters.
TSize MessageTextSize(const String& msg, TFont& font) {
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int averageChar =
        std::max(1, TextSize(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", font, 0, DT_SINGLELINE).cx / 52);
    const int wrapWidth = std::min(screenWidth * 3 / 4, std::max(averageChar * 60, 300));
    return TextSize(msg, font, wrapWidth, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT);
}

// The kinds of the buttons asked for, left to right.
std::vector<const ButtonKind*> ButtonKindsOf(TMsgDlgButtons buttons) {
    std::vector<const ButtonKind*> kinds;
    for (const ButtonKind& kind : kButtonKinds)
        if (buttons & kind.Button) kinds.push_back(&kind);
    return kinds;
}

// Buttons: as wide as the widest caption needs, all the same width.
int ButtonWidthOf(const std::vector<const ButtonKind*>& kinds, TFont& font, int dpi) {
    int width = ScaleForDpi(kButtonMinWidth, dpi);
    for (const ButtonKind* kind : kinds)
        width = std::max(width, TextSize(kind->Caption, font, 0, DT_SINGLELINE).cx + ScaleForDpi(16, dpi));
    return width;
}

// The message is a window of its own, so screen readers and other programs read it with
// the window's text.
void AddMessageText(TMessageForm& form, const String& msg, int left, int top, TSize text) {
    auto* message = new TStaticText(&form);
    message->SetName(L"Message");
    message->SetParent(&form);
    message->SetShowAccelChar(false);
    message->SetBounds(left, top, text.cx, text.cy);
    message->SetCaption(msg);
}

// The row of buttons from x at y; the first is the default and has the focus. Cancel
// answers Escape; without one, No, then OK.
void AddButtons(TMessageForm& form, const std::vector<const ButtonKind*>& kinds, TMsgDlgButtons buttons, TPoint at,
                TSize size, int gap) {
    int x = at.X;
    const TMsgDlgBtn cancelKind = (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
    bool first = true;
    for (const ButtonKind* kind : kinds) {
        auto* button = new TButton(&form);
        button->SetName(kind->Name);
        button->SetParent(&form);
        button->SetCaption(kind->Caption);
        button->ModalResult = kind->Result;
        button->SetBounds(x, at.Y, size.cx, size.cy);
        if (first) {
            button->SetDefault(true);
            form.SetActiveControl(button);
            first = false;
        }
        if (kind->Button == cancelKind) button->Cancel = true;
        x += size.cx + gap;
    }
}

}  // namespace

std::unique_ptr<TMessageForm> CreateMessageDialog(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                                                  const String* caption) {
    if ((buttons & ((1u << kButtonKinds.size()) - 1)) == 0) buttons = mbOK;  // a dialog always has a way out
    std::unique_ptr<TMessageForm> form(NewForm<TMessageForm>(nullptr));
    form->FDialogType = type;
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons(biSystemMenu);
    form->SetPosition(poScreenCenter);
    form->SetColor(clBtnFace);
    form->SetCaption(caption ? *caption : MessageDialogCaption(type));
    // Laid out at the DPI the form took from its monitor: the text in the font for that
    // DPI, every designed length scaled.
    const int dpi = form->Dpi();
    auto px = [dpi](int v) { return ScaleForDpi(v, dpi); };
    SetMessageFont(form->Font(), dpi);
    const TSize text = MessageTextSize(msg, form->Font());

    form->FIcon = IconOf(type) ? ::LoadIconW(nullptr, IconOf(type)) : nullptr;
    const int iconSize = px(kIconSize), margin = px(kMargin), buttonHeight = px(kButtonHeight);
    const int iconWidth = form->FIcon ? iconSize + px(kIconTextGap) : 0;
    const int iconHeight = form->FIcon ? iconSize : 0;

    const std::vector<const ButtonKind*> kinds = ButtonKindsOf(buttons);
    const int buttonWidth = ButtonWidthOf(kinds, form->Font(), dpi);
    const int count = static_cast<int>(kinds.size());
    const int buttonsWidth = count * buttonWidth + (count - 1) * px(kButtonGap);

    const int contentWidth = std::max(iconWidth + text.cx, buttonsWidth);
    const int contentHeight = std::max(iconHeight, text.cy);
    form->SetClientWidth(contentWidth + 2 * margin);
    form->SetClientHeight(contentHeight + px(kTextButtonsGap) + buttonHeight + 2 * margin);

    form->FIconRect = {margin, margin, margin + iconSize, margin + iconSize};
    AddMessageText(*form, msg, margin + iconWidth, margin + (contentHeight - text.cy) / 2, text);
    AddButtons(*form, kinds, buttons,
               {(form->ClientWidth() - buttonsWidth) / 2, margin + contentHeight + px(kTextButtonsGap)},
               {buttonWidth, buttonHeight}, px(kButtonGap));
    return form;
}

int MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) {
    (void)helpCtx;  // no help system: the Help button is shown but answers nothing
    std::unique_ptr<TMessageForm> form = CreateMessageDialog(msg, type, buttons);
    return form->ShowModal();
}

void ShowMessage(const String& msg) {
    const String caption = Application().Title();
    std::unique_ptr<TMessageForm> form = CreateMessageDialog(msg, mtCustom, mbOK, &caption);
    form->ShowModal();
}

void ShowExceptionMessageDialog(const String& text) {
    const String caption = Application().Title();
    std::unique_ptr<TMessageForm> form = CreateMessageDialog(text, mtError, mbOK, &caption);
    form->ShowModal();
}

namespace {
// Linking this unit makes the default exception handler show a TMessageForm.
const bool kExceptionDialogInstalled = (ShowExceptionMessage = &ShowExceptionMessageDialog, true);
}  // namespace

}  // namespace qv
