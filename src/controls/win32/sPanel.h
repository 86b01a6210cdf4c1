// TsPanel: the framework's panel painted from the skin. Depending on its section it
// keeps a cache of its face (which its children then use as their background) or
// paints itself directly and lets children take their background from further up.
#pragma once
#include "controls/win32/sCommonData.h"
#include "framework/win32/ExtCtrls.h"

#include <functional>
#include <memory>

namespace qv {

using TPaintEvent = std::function<void(TComponent* Sender, TCanvas& Canvas)>;

class TsPanel : public TPanel {
public:
    explicit TsPanel(TComponent* owner);
    TsPanel(const TsPanel&) = delete;
    TsPanel& operator=(const TsPanel&) = delete;
    ~TsPanel() override;
    String ClassName() const override { return L"TsPanel"; }

    TsCommonData* SkinData() noexcept { return FCommonData.get(); }
    TPaintEvent FOnPaint;
    TNotifyEvent FOnMouseLeave, FOnMouseEnter;

    void AfterConstruction() override;
    void Loaded() override;
    void PrepareCache();
    void OurPaint(HDC dc, bool sendUpdated);
    void WriteText(const TRect& r, TCanvas* canvas, HDC dc);

protected:
    void Paint() override;
    void PaintDirect(HDC dc);
    void PaintSeeThrough(HDC dc, const TacBGInfo& bg, int border);
    void PaintFilled(HDC dc, const TacBGInfo& bg, int transparency, int border, HDC cacheDC);
    void PaintContents(HDC dc);
    void PaintControls(HDC dc);
    void WMEraseBkgnd(TMessage& message);
    void WndProc(TMessage& message) override;

private:
    // Message handlers; the bool ones return true when the message is answered.
    bool SkinnedMessage(TMessage& message);
    bool SkinCommandAnyState(TMessage& message);
    bool SkinCommand(TMessage& message);
    void SKCRefresh(TMessage& message, bool own);
    bool SKCGetBGInfo(TMessage& message);
    void UnskinnedWndProc(TMessage& message);
    void AfterInheritedWndProc(const TMessage& message);
    bool WMPaint(TMessage& message);
    void WMPrint(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMBorderChanged(TMessage& message);

    std::unique_ptr<TsCommonData> FCommonData;
    TPanelBevel FOldBevel = bvRaised;
    bool FPaintingControls = false;
};

}  // namespace qv
