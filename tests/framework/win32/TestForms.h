// Small framework classes the window tests build their forms from.
#pragma once
#include "framework/win32/Application.h"
#include "win32/MessagePump.h"

#include <string>
#include <vector>

namespace qv::test {

// A focusable self-painting control that fills itself with its colour and records
// the framework notifications it receives.
class TTestControl : public TCustomControl {
public:
    explicit TTestControl(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        ControlStyle |= csAcceptsControls;
    }
    String ClassName() const override { return L"TTestControl"; }
    std::vector<UINT> Notifications;
    std::vector<LPARAM> NotificationParams;
    int Count(UINT msg) const {
        int n = 0;
        for (UINT m : Notifications) n += m == msg;
        return n;
    }
    void WndProc(TMessage& message) override {
        if (message.Msg >= CM_BASE && message.Msg < 0xC000) {
            Notifications.push_back(message.Msg);
            NotificationParams.push_back(message.LParam);
        }
        TCustomControl::WndProc(message);
    }

protected:
    void Paint() override {
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect(ClientRect());
    }
};

// A windowless control that records enter/leave notifications.
class TTestGraphic : public TGraphicControl {
public:
    explicit TTestGraphic(TComponent* owner) : TGraphicControl(owner) {}
    std::vector<UINT> Notifications;
    void WndProc(TMessage& message) override {
        if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) Notifications.push_back(message.Msg);
        TGraphicControl::WndProc(message);
    }
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        Canvas().Brush().SetColor(clRed);
        Canvas().FillRect({0, 0, Width(), Height()});
    }
};

}  // namespace qv::test
