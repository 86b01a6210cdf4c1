// Message dialogs built as framework forms ("TMessageForm") with framework buttons.
#include "framework/win32/Application.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/StaticText.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

struct ButtonKind {
    TMsgDlgBtn Button;
    const wchar_t* Name;     // component name
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
constexpr int kMargin = 10;         // around everything
constexpr int kIconTextGap = 12;
constexpr int kTextButtonsGap = 14;
constexpr int kButtonGap = 6;
constexpr int kButtonMinWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kIconSize = 32;

// The system's message font (what its own message boxes use).
void SetMessageFont(TFont& font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
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

void TMessageForm::PaintWindow(HDC dc) {
    RECT client{};
    ::GetClientRect(FHandle, &client);
    UniqueBrush face(::CreateSolidBrush(ColorToGdi(Color())));
    ::FillRect(dc, &client, face.get());
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
    SetMessageFont(form->Font());

    // Text wraps at a readable width: three quarters of the screen at most, and no
    // narrower than a line of about fifty average characters.
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int averageChar = std::max(1, TextSize(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", form->Font(), 0,
                                                 DT_SINGLELINE).cx / 52);
    const int wrapWidth = std::min(screenWidth * 3 / 4, std::max(averageChar * 60, 300));
    const UINT textFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT;
    const TSize text = TextSize(msg, form->Font(), wrapWidth, textFlags);

    form->FIcon = IconOf(type) ? ::LoadIconW(nullptr, IconOf(type)) : nullptr;
    const int iconWidth = form->FIcon ? kIconSize + kIconTextGap : 0;
    const int iconHeight = form->FIcon ? kIconSize : 0;

    // Buttons: as wide as the widest caption needs, all the same width.
    std::vector<const ButtonKind*> kinds;
    int buttonWidth = kButtonMinWidth;
    for (const ButtonKind& kind : kButtonKinds) {
        if (!(buttons & kind.Button)) continue;
        kinds.push_back(&kind);
        buttonWidth = std::max(buttonWidth, TextSize(kind.Caption, form->Font(), 0, DT_SINGLELINE).cx + 16);
    }
    const int buttonsWidth = static_cast<int>(kinds.size()) * buttonWidth + (static_cast<int>(kinds.size()) - 1) * kButtonGap;

    const int contentWidth = std::max(iconWidth + text.cx, buttonsWidth);
    const int contentHeight = std::max(iconHeight, text.cy);
    form->SetClientWidth(contentWidth + 2 * kMargin);
    form->SetClientHeight(contentHeight + kTextButtonsGap + kButtonHeight + 2 * kMargin);

    form->FIconRect = {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
    // The message is a window of its own, so screen readers and other programs read
    // it with the window's text.
    auto* message = new TStaticText(form.get());
    message->SetName(L"Message");
    message->SetParent(form.get());
    message->SetShowAccelChar(false);
    message->SetBounds(kMargin + iconWidth, kMargin + (contentHeight - text.cy) / 2, text.cx, text.cy);
    message->SetCaption(msg);

    // Cancel answers Escape; without one, No, then OK.
    const TMsgDlgBtn cancelKind = (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
    int x = (form->ClientWidth() - buttonsWidth) / 2;
    const int y = kMargin + contentHeight + kTextButtonsGap;
    bool first = true;
    for (const ButtonKind* kind : kinds) {
        auto* button = new TButton(form.get());
        button->SetName(kind->Name);
        button->SetParent(form.get());
        button->SetCaption(kind->Caption);
        button->ModalResult = kind->Result;
        button->SetBounds(x, y, buttonWidth, kButtonHeight);
        if (first) {
            button->SetDefault(true);
            form->SetActiveControl(button);
            first = false;
        }
        if (kind->Button == cancelKind) button->Cancel = true;
        x += buttonWidth + kButtonGap;
    }
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
