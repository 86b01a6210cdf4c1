// TsCommonData: the skin binding every skinned control owns. It ties the control to a
// section of the active skin, keeps the section's resolved indexes, its state bits and
// the control's cache bitmap, answers the engine's command message for the control,
// tells children what lies behind them, and reacts to the window messages that make
// the cache stale.
#pragma once
#include "controls/sCommonDataCore.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "paint/sCacheInfo.h"
#include "paint/sGraphUtils_Item.h"
#include "skin/win32/sSkinManager.h"

#include <memory>

namespace qv {

// CtrlSkinState bits.
constexpr std::uint16_t SkinStateFast = 0x0001;      // container without a cache of its own
constexpr std::uint16_t SkinStatePrinting = 0x0200;  // PrintDC holds the target DC
constexpr std::uint16_t SkinStateLocked = 0x0800;    // between BeginUpdate and EndUpdate

// The answer to a request for the section a window uses (SKC_GETSKININDEX).
struct TacSectionInfo {
    int SkinIndex = -1;
    String Name;
    bool RepaintNeeded = false;
};

class TsCommonData : public TacCtrlPaintData {
public:
    TsCommonData(TComponent* owner, bool createCacheBmp);
    ~TsCommonData() override;
    TsCommonData(const TsCommonData&) = delete;
    TsCommonData& operator=(const TsCommonData&) = delete;

    // ---- fields ----
    String FSkinSection;
    bool FCustomFont = false;
    bool FCustomColor = false;
    int FUpdateCount = 0;
    int FHUEOffset = 0;
    int FSaturation = 0;
    int GlowID = -1;
    bool FUpdating = false;
    TsSkinManager* FSkinManager = nullptr;
    int FBorderIndex = -1;  // BorderIndex
    int FSkinIndex = -1;    // SkinIndex
    int FTexture = -1;      // Texture
    int FHotTexture = -1;   // HotTexture
    bool UrgentPainting = false;
    bool BGChanged = true;
    bool HalfVisible = true;
    TControl* FOwnerControl = nullptr;
    TComponent* FOwnerObject = nullptr;
    std::unique_ptr<TBitmap> FCacheBmp;
    int FCOC = 0;  // COC
    bool FFocused = false;
    bool FMouseAbove = false;
    std::uint16_t CtrlSkinState = 0;
    std::int16_t BGType = 0;
    HDC PrintDC = nullptr;
    // The form a frame skinner paints, when the owner is one; nullptr for controls.
    TCustomForm* FFrameSkinnerForm = nullptr;

    // ---- properties ----
    const String& SkinSection() const noexcept override { return FSkinSection; }
    void SetSkinSection(const String& value);
    TsSkinManager* GetSkinManager() const noexcept;
    void SetSkinManager(TsSkinManager* value);
    bool CustomColorOn() const noexcept { return FCustomColor; }
    void SetCustomColor(bool value);
    bool CustomFontOn() const noexcept { return FCustomFont; }
    void SetCustomFont(bool value);
    void SetHUEOffset(int value);
    void SetSaturation(int value);
    bool Updating() const noexcept { return FUpdating; }
    void SetUpdating(bool value) noexcept { FUpdating = value; }
    void SetCOC(int coc) noexcept { FCOC = coc; }

    // ---- TacCtrlPaintData ----
    TacSkinSource* SkinManager() const noexcept override;
    int SkinIndex() const noexcept override { return FSkinIndex; }
    int BorderIndex() const noexcept override { return FBorderIndex; }
    int Texture() const noexcept override { return FTexture; }
    int HotTexture() const noexcept override { return FHotTexture; }
    TColor CustomColor() const noexcept override;
    int HUEOffset() const noexcept override { return FHUEOffset; }
    int Saturation() const noexcept override { return FSaturation; }
    TBitmap* CacheBmp() noexcept override { return FCacheBmp.get(); }
    void InitCacheBmp() noexcept override;
    bool HasOwnerControl() const noexcept override { return FOwnerControl != nullptr; }
    TPoint OwnerPosition() const noexcept override;
    bool GetParentBGInfo(TacBGInfo& info, bool pleaseDraw) noexcept override;
    TColor GetBGColor(int state) const noexcept override { return GetBGColor(state, nullptr); }
    int COC() const noexcept override { return FCOC; }
    bool IsWindowed() const noexcept override;
    bool ParentFont() const noexcept override { return FOwnerControl && FOwnerControl->ParentFont(); }
    bool HasParent() const noexcept override { return FOwnerControl && FOwnerControl->Parent(); }
    bool HasCustomFont() const noexcept override { return FCustomFont; }
    int GetFontIndex(int state) const noexcept override;

    // ---- operations ----
    bool Skinned(bool checkSkinActive = false) const noexcept;
    void UpdateIndexes();
    void UpdateData();
    void UpdateSkinState(bool allChildren);
    void InitBGType() noexcept;
    bool IsCacheRequired() const noexcept;
    bool IsCached() const noexcept;
    bool ControlIsActive() const noexcept;
    int SkinBorderMaxWidth() const noexcept;
    bool ParentTextured() const noexcept;
    TColor GetBGColor(int state, HWND hwnd) const noexcept;
    void InitBGInfo(TacBGInfo& info, int state, HWND hwnd) noexcept;
    void GetParentCache(TCacheInfo& ci) noexcept;
    void GetParentCacheHwnd(HWND hwnd, TCacheInfo& ci) noexcept;
    void UpdateCtrlColors(bool repaint);
    void ShowGlowingIfNeeded(bool clear = false, HWND hwnd = nullptr);
    void HideGlow() noexcept;
    void BeginUpdate();
    void EndUpdate(bool repaint = false);
    bool GetUpdating() const noexcept;
    void Invalidate();
    bool RepaintIfMoved() const noexcept;
    void Loaded();

    // The mouse-over and focus flags are read by other bindings through commands.
    bool MouseAbove() const noexcept { return FMouseAbove; }

private:
    void SendToOwner(int command, LPARAM lParam = 0);
    bool AskParentForBackground(TacBGInfo& request, TPoint& offset, HWND hwnd) noexcept;
    HWND OwnerHandle() const noexcept;
};

// The class controls use; it only publishes hue and saturation.
class TsCtrlSkinData : public TsCommonData {
public:
    using TsCommonData::TsCommonData;
};

// Section names compare upper-cased.
String UpperCased(const String& s);
// A control's colour as RGB (the button face for none).
TColor ColorOfControl(TControl* c) noexcept;
// Graphic controls painted over a parent's copied cache rather than kept in it (labels).
bool IsExcludedGraphicKind(const TControl* c) noexcept;

// Which section's font colours apply to text painted on control.
int GetFontIndex(TControl* control, int defaultIndex, TsSkinManager* manager, int state) noexcept;
// Sends SKC_CTRLLOADED with control to its parent form.
void AddToAdapter(TWinControl* control);

// The binding's handling of SM_ALPHACMD; true when it answered.
bool SkinCommand(TMessage& message, TsCommonData* binding);
// The binding's share of every window message; true when fully handled.
bool CommonWndProc(TMessage& message, TsCommonData* binding);

// The cache copied to dc without painting over opaque children.
void CopyWinControlCache(TWinControl* control, TsCommonData* binding, const TRect& srcRect, int dy, int dx,
                         bool updateCorners, HDC dc, const TRect& dstRect);
void CopyHwndCache(HWND hwnd, TsCommonData* binding, const TRect& srcRect, int dy, int dx, bool updateCorners, HDC dc,
                   const TRect& dstRect);

}  // namespace qv
