// TEdit: a one-line text box ("EDIT" superclassed as "TEdit"); its text is the
// window's text.
#pragma once
#include "framework/win32/Controls.h"
#include "framework/win32/StdCtrls.h"

namespace qv {

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    TEdit(const TEdit&) = delete;
    TEdit& operator=(const TEdit&) = delete;
    ~TEdit() override;
    String ClassName() const override { return L"TEdit"; }

    // 0: no limit beyond the system's.
    int MaxLength() const noexcept { return FMaxLength; }
    void SetMaxLength(int length);
    bool ReadOnly() const noexcept { return FReadOnly; }
    void SetReadOnly(bool on);
    // Shown instead of every character; 0 shows the text.
    wchar_t PasswordChar() const noexcept { return FPasswordChar; }
    void SetPasswordChar(wchar_t ch);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    // Selects the whole text when the edit gets the focus by keyboard.
    bool AutoSelect = true;

    int SelStart();
    void SetSelStart(int start);
    int SelLength();
    void SetSelLength(int length);
    String SelText();
    void SetSelText(const String& text);  // replaces the selection
    void SelectAll();
    void Clear() { SetText(String()); }
    bool Modified();
    void SetModified(bool on);

    // Called whenever the text changed (by the user or the program).
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    virtual void Change();

private:
    int FMaxLength = 0;
    bool FReadOnly = false;
    wchar_t FPasswordChar = 0;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCreating = false;
};

}  // namespace qv
