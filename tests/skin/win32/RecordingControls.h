// Framework controls and forms that record the skin commands they receive ("name:code")
// and answer SKC_CTRLHANDLED and SKC_GETCOLOR with chosen values.
#pragma once
#include "framework/win32/Forms.h"
#include "skin/sSkinManagerBase.h"
#include "skin/win32/sMessages.h"

#include <string>
#include <vector>

namespace qv::test {

// How deep the current call is inside a probed window procedure (see Probe).
inline int& WindowDepth() {
    static int depth = 0;
    return depth;
}

inline std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

template <class Base>
class TRecording : public Base {
public:
    template <class... Args>
    TRecording(TComponent* owner, std::string name, LRESULT handled = 0)
        : Base(owner), Handled(handled), FName(std::move(name)) {}

    LRESULT Handled;
    LRESULT ColorAnswer = 0;
    LPARAM LastLParam = 0;
    bool LastByWindow = false;
    bool RestrictDrawingSeen = false;

    void WndProc(TMessage& message) override {
        if (message.Msg == SM_ALPHACMD) {
            const WORD command = message.WParamHi();
            if (command == SKC_CTRLHANDLED) {
                message.Result = Handled;
                return;
            }
            if (command == SKC_GETCOLOR) {
                message.Result = ColorAnswer;
                return;
            }
            Log().push_back(FName + ":" + std::to_string(command));
            LastLParam = message.LParam;
            LastByWindow = WindowDepth() > 0;
            if (command == SKC_NEWSKIN) RestrictDrawingSeen = RestrictDrawing;
            message.Result = 0;
            return;
        }
        Base::WndProc(message);
    }
    void MarkDestroying(bool on) { this->SetState(csDestroying, on); }

private:
    std::string FName;
};

// A windowed recorder whose window procedure can be probed, so a test tells a window
// message from a direct call of the control's message method.
class TRecWin : public TRecording<TWinControl> {
public:
    using TRecording<TWinControl>::TRecording;
    void Probe() {
        FOldProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProbeProc)));
        ::SetPropW(Handle(), L"QvTestOldProc", reinterpret_cast<HANDLE>(FOldProc));
    }

private:
    static LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto old = reinterpret_cast<WNDPROC>(::GetPropW(wnd, L"QvTestOldProc"));
        ++WindowDepth();
        const LRESULT result = ::CallWindowProcW(old, wnd, msg, wParam, lParam);
        --WindowDepth();
        return result;
    }
    WNDPROC FOldProc = nullptr;
};
using TRecGraphic = TRecording<TGraphicControl>;

class TRecForm : public TRecording<TForm> {
public:
    TRecForm(TComponent* owner, std::string name, LRESULT handled = 0)
        : TRecording<TForm>(owner, std::move(name), handled) {}
};

}  // namespace qv::test
