#include "controls/win32/sCommonData.h"

#include "controls/win32/acGlow.h"
#include "controls/win32/acManagerSource.h"
#include "framework/win32/ExtCtrls.h"
#include "framework/win32/Handles.h"
#include "paint/sGraphUtils.h"
#include "paint/win32/sGraphUtils_DC.h"
#include "paint/win32/sGraphUtils_Text.h"
#include "skin/win32/sMessages.h"
#include "skin/win32/sStyleSimply.h"
#include "skin/win32/sVclUtils.h"

#include <algorithm>
#include <cwctype>

namespace qv {

namespace {

bool Destroying(const TComponent* c) noexcept { return c && c->HasState(csDestroying); }
bool Loading(const TComponent* c) noexcept { return c && (c->HasState(csLoading) || c->HasState(csReading)); }
bool Designing(const TComponent* c) noexcept { return c && c->HasState(csDesigning); }

// Containers whose children may take their background from further up.
bool IsContainerKind(TControl* c) noexcept {
    if (dynamic_cast<TPanel*>(c) || dynamic_cast<TScrollingWinControl*>(c)) return true;
    const String name = c->ClassName();
    return name.find(L"PageControl") != String::npos || name.find(L"Frame") != String::npos;
}

}  // namespace

String UpperCased(const String& s) {
    String r = s;
    for (auto& ch : r) ch = static_cast<wchar_t>(std::towupper(ch));
    return r;
}

TColor ColorOfControl(TControl* c) noexcept { return c ? ColorToRGB(c->Color()) : ColorToRGB(clBtnFace); }

bool IsExcludedGraphicKind(const TControl* c) noexcept { return dynamic_cast<const TLabel*>(c) != nullptr; }

// ---------------------------------------------------------------- construction

TsCommonData::TsCommonData(TComponent* owner, bool createCacheBmp)
    : FOwnerControl(dynamic_cast<TControl*>(owner)), FOwnerObject(owner) {
    InstallControlSeams();
    if (createCacheBmp) FCacheBmp = std::make_unique<TBitmap>();
}

TsCommonData::~TsCommonData() {
    FSkinIndex = FBorderIndex = FTexture = FHotTexture = -1;
    HideGlow();
    FOwnerControl = nullptr;
    FOwnerObject = nullptr;
}

// ---------------------------------------------------------------- manager and indexes

TsSkinManager* TsCommonData::GetSkinManager() const noexcept { return FSkinManager ? FSkinManager : DefaultManager; }

TacSkinSource* TsCommonData::SkinManager() const noexcept { return ManagerSource(GetSkinManager()); }

bool TsCommonData::Skinned(bool checkSkinActive) const noexcept {
    TsSkinManager* m = GetSkinManager();
    if (FSkinSection.empty() || !m || Destroying(m) || !m->IsValidSkinIndex(FSkinIndex) || Destroying(FOwnerObject))
        return false;
    return !checkSkinActive || m->SkinData.Active;
}

void TsCommonData::UpdateIndexes() {
    BGChanged = true;
    TsSkinManager* m = GetSkinManager();
    // The manager's own switch decides: while it announces a new skin its skin data is
    // marked inactive until every control has answered, and the answer is this lookup.
    FSkinIndex = (m && m->Active()) ? m->GetSkinIndex(FSkinSection) : -1;
    InitBGType();
    CtrlSkinState = 0;
    if (FSkinIndex >= 0) {
        FBorderIndex = m->gd[FSkinIndex].BorderIndex;
        FTexture = m->GetTextureIndex(FSkinIndex, FSkinSection, L"PATTERN");
        FHotTexture = m->GetTextureIndex(FSkinIndex, FSkinSection, L"HOTPATTERN");
        UpdateSkinState(false);
    } else {
        FTexture = FHotTexture = -1;
    }
}

void TsCommonData::UpdateData() {
    if (!FSkinSection.empty()) {
        UpdateIndexes();
        return;
    }
    String section = DefaultSectionOfKind(FCOC);
    if (section.empty() && FOwnerControl) section = FOwnerControl->ClassName();
    SetSkinSection(section);
}

void TsCommonData::InitBGType() noexcept {
    TsSkinManager* m = GetSkinManager();
    BGType = (m && m->IsValidSkinIndex(FSkinIndex)) ? static_cast<std::int16_t>(SectionBGType(m->gd[FSkinIndex])) : 0;
}

void TsCommonData::SetSkinSection(const String& value) {
    const String upper = value.empty() ? String(L"UNKNOWN") : UpperCased(value);
    if (upper == FSkinSection) return;
    FSkinSection = upper;
    TsSkinManager* m = GetSkinManager();
    const bool hasSections = m && !m->gd.empty();
    if (hasSections) UpdateIndexes();
    else FSkinIndex = -1;
    if (FFrameSkinnerForm) {
        BGChanged = true;
        return;
    }
    if (FOwnerControl && !Loading(FOwnerControl) && FOwnerControl->Parent() && !Destroying(FOwnerControl)) {
        if (!FUpdating)
            SendToOwner(hasSections && m->IsValidSkinIndex(FSkinIndex) ? SKC_REFRESH : SKC_REMOVESKIN,
                        reinterpret_cast<LPARAM>(m));
        HideGlow();
    }
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
    if (value == DefaultManager) value = nullptr;
    FSkinManager = value;
    if (FOwnerObject && Loading(FOwnerObject)) return;
    TsSkinManager* m = GetSkinManager();
    const bool hasSections = m && !m->gd.empty();
    if (hasSections) UpdateIndexes();
    else FSkinIndex = -1;
    const int command = hasSections && m->IsValidSkinIndex(FSkinIndex) ? SKC_REFRESH : SKC_REMOVESKIN;
    if (FFrameSkinnerForm) {
        if (IacFormProvider* provider = GetFormProvider(FFrameSkinnerForm)) {
            TMessage msg = MakeAlphaMessage(static_cast<std::uint16_t>(command), reinterpret_cast<LPARAM>(m));
            provider->ProviderMessage(msg);
        }
    } else if (FOwnerControl && FOwnerControl->Parent() && !Destroying(FOwnerControl)) {
        SendToOwner(command, reinterpret_cast<LPARAM>(m));
    }
}

void TsCommonData::SetCustomColor(bool value) {
    if (FCustomColor == value) return;
    FCustomColor = value;
    if (!Loading(FOwnerObject)) UpdateCtrlColors(true);
}

void TsCommonData::SetCustomFont(bool value) {
    if (FCustomFont == value) return;
    FCustomFont = value;
    if (!Loading(FOwnerObject)) UpdateCtrlColors(true);
}

void TsCommonData::SetHUEOffset(int value) {
    if (FHUEOffset == value) return;
    FHUEOffset = value;
    Loaded();
    Invalidate();
}

void TsCommonData::SetSaturation(int value) {
    if (FSaturation == value) return;
    FSaturation = value;
    Loaded();
    Invalidate();
}

// ---------------------------------------------------------------- state

void TsCommonData::UpdateSkinState(bool allChildren) {
    CtrlSkinState &= static_cast<std::uint16_t>(~SkinStateFast);
    if (FOwnerControl) {
        if (IsContainerKind(FOwnerControl) && !IsCacheRequired()) CtrlSkinState |= SkinStateFast;
        auto* win = dynamic_cast<TWinControl*>(FOwnerControl);
        if (allChildren && win)
            for (int i = 0; i < win->ControlCount(); ++i) SendAMessage(win->Controls(i), SKC_SKINSTATE, 1);
    } else if (FFrameSkinnerForm) {
        if (!IsCacheRequired() && FFrameSkinnerForm->FormStyle != fsMDIForm) CtrlSkinState |= SkinStateFast;
    }
}

bool TsCommonData::IsCacheRequired() const noexcept {
    TsSkinManager* m = GetSkinManager();
    if (!m || !m->IsValidSkinIndex(FSkinIndex)) return false;
    if (m->IsValidImgIndex(FBorderIndex)) {
        const TsMaskData& md = m->ma[FBorderIndex];
        if ((md.DrawMode & dmDrawCentre) != 0 || md.WL + md.WR > 20 || md.WT + md.WB > 20) return true;
    }
    const TsGeneralData& gd = m->gd[FSkinIndex];
    if (gd.Transparency == 100) {
        if (m->IsValidImgIndex(gd.TextureNormal) && m->ma[gd.TextureNormal].DrawMode == fmDisTiled) return true;
        if (!FOwnerControl || !FOwnerControl->Parent()) return true;
        const LRESULT parentState = SendAMessage(FOwnerControl->Parent(), SKC_SKINSTATE, 0);
        return (parentState & SkinStateFast) == 0;
    }
    if (gd.Transparency > 0 && gd.Transparency < 100) return true;
    return gd.ImagePercent != 0 || gd.GradientPercent != 0;
}

bool TsCommonData::IsCached() const noexcept { return (CtrlSkinState & SkinStateFast) == 0 || ControlIsActive(); }

bool TsCommonData::ControlIsActive() const noexcept {
    if (!FOwnerControl || Destroying(FOwnerControl) || !FOwnerControl->Enabled() || Designing(FOwnerControl))
        return false;
    if (FFocused) return true;
    if (auto* win = dynamic_cast<TWinControl*>(FOwnerControl))
        if (win->HandleAllocated() && ::GetFocus() == win->Handle() && !dynamic_cast<TPanel*>(win)) return true;
    return FMouseAbove && !InKindSet(sForbidMouse, FCOC);
}

void TsCommonData::InitCacheBmp() noexcept {
    try {
        if (!FCacheBmp) FCacheBmp = std::make_unique<TBitmap>();
        if (FCacheBmp->PixelFormat() != pf32bit) FCacheBmp->SetPixelFormat(pf32bit);
        if (FOwnerControl) {
            const int w = std::max(0, FOwnerControl->Width()), h = std::max(0, FOwnerControl->Height());
            if (FCacheBmp->Width() != w || FCacheBmp->Height() != h) FCacheBmp->SetSize(w, h);
        }
    } catch (...) {
        // Without memory for the cache the control paints nothing this time.
    }
}

int TsCommonData::SkinBorderMaxWidth() const noexcept {
    TsSkinManager* m = GetSkinManager();
    if (!m || !m->IsValidImgIndex(FBorderIndex)) return 0;
    const TsMaskData& md = m->ma[FBorderIndex];
    if ((md.DrawMode & dmHiddenWhenNormal) != 0) return 0;  // a border hidden in the normal state
    return std::max(
        {static_cast<int>(md.WL), static_cast<int>(md.WT), static_cast<int>(md.WR), static_cast<int>(md.WB)});
}

bool TsCommonData::ParentTextured() const noexcept {
    if (FOwnerControl && FOwnerControl->Parent() && FOwnerControl->Parent()->HandleAllocated())
        return GetBoolMsg(FOwnerControl->Parent(), SKC_REPAINTIFMOVED);
    return false;
}

bool TsCommonData::IsWindowed() const noexcept { return dynamic_cast<TWinControl*>(FOwnerControl) != nullptr; }

TPoint TsCommonData::OwnerPosition() const noexcept {
    return FOwnerControl ? TPoint{FOwnerControl->Left(), FOwnerControl->Top()} : TPoint{0, 0};
}

TColor TsCommonData::CustomColor() const noexcept {
    if (!FCustomColor) return clFuchsia;
    if (FOwnerControl) return ColorOfControl(FOwnerControl);
    if (FFrameSkinnerForm) return ColorOfControl(FFrameSkinnerForm);
    return clFuchsia;
}

HWND TsCommonData::OwnerHandle() const noexcept {
    if (auto* win = dynamic_cast<TWinControl*>(FOwnerControl)) return win->HandleAllocated() ? win->Handle() : nullptr;
    if (FFrameSkinnerForm && FFrameSkinnerForm->HandleAllocated()) return FFrameSkinnerForm->Handle();
    return nullptr;
}

void TsCommonData::SendToOwner(int command, LPARAM lParam) {
    if (FOwnerControl) SendAMessage(FOwnerControl, command, lParam);
    else if (FFrameSkinnerForm && FFrameSkinnerForm->HandleAllocated())
        SendAMessage(FFrameSkinnerForm->Handle(), command, lParam);
}

// ---------------------------------------------------------------- colours and backgrounds

TColor TsCommonData::GetBGColor(int state, HWND hwnd) const noexcept {
    TsSkinManager* m = GetSkinManager();
    if (Skinned()) {
        const TsGeneralData& gd = m->gd[FSkinIndex];
        const int s = (state > 0 && gd.States > 1) ? 1 : 0;
        const int t = gd.Props[s].Transparency;
        const TColor c = gd.Props[s].Color;
        auto parentColour = [&]() -> TColor {
            if (FOwnerControl) return GetControlColor(FOwnerControl->Parent());
            if (hwnd) return GetControlColor(::GetParent(hwnd));
            return ColorToRGB(clBtnFace);
        };
        if (t == 100) return parentColour();
        if (t > 0) return MixColors(parentColour(), c, t / 100.0);
        if (!FCustomColor) return c;
    }
    if (FOwnerControl) return ColorOfControl(FOwnerControl);
    if (FFrameSkinnerForm) return ColorOfControl(FFrameSkinnerForm);
    return ColorToRGB(clBtnFace);
}

void TsCommonData::InitBGInfo(TacBGInfo& info, int state, HWND hwnd) noexcept {
    TsSkinManager* m = GetSkinManager();
    if (!Skinned() || FCustomColor) {
        info.BgType = btFill;
        info.Color = FOwnerControl ? ColorOfControl(FOwnerControl) : CustomColor();
        if (!FOwnerControl && FFrameSkinnerForm) info.Color = ColorOfControl(FFrameSkinnerForm);
        return;
    }
    const TsGeneralData& gd = m->gd[FSkinIndex];
    const int s = (state > 0 && gd.States > 1) ? 1 : 0;
    const int t = gd.Props[s].Transparency, g = gd.Props[s].GradientPercent, img = gd.Props[s].ImagePercent;
    const bool haveCache = FCacheBmp && !FCacheBmp->Empty();
    if (t == 0 && g < 1 && img < 1) {
        info.BgType = btFill;
        info.Bmp = FCacheBmp.get();
        info.Color = GetBGColor(state, hwnd);
        if (info.PleaseDraw) FillDC(info.DrawDC, info.R, info.Color);
        return;
    }
    if (t == 0) {
        info.Color = m->GetGlobalColor();
        if (!haveCache) {
            info.BgType = btFill;
            info.Color = clFuchsia;
            return;
        }
    } else if (t == 100) {
        if ((CtrlSkinState & SkinStateFast) != 0 || !haveCache || BGChanged) {
            // The own cache cannot serve: the parent answers, as if asked by the child.
            TPoint offset{0, 0};
            TacBGInfo answer = info;
            if (!AskParentForBackground(answer, offset, hwnd)) {
                info.BgType = btFill;
                info.Color = m->GetGlobalColor();
                return;
            }
            const TPoint before = info.Offset;
            info = answer;
            if (info.BgType == btCache && !info.PleaseDraw)
                info.Offset = {before.X + info.Offset.X + offset.X, before.Y + info.Offset.Y + offset.Y};
            return;
        }
    } else if (!haveCache) {
        info.BgType = btFill;
        info.Color = clFuchsia;
        return;
    }
    info.BgType = btCache;
    if (info.PleaseDraw) {
        HDC src = FCacheBmp->Canvas().Handle();
        BitBlt(info.DrawDC, info.R.Left, info.R.Top, info.R.Width(), info.R.Height(), src, info.Offset.X, info.Offset.Y,
               SRCCOPY);
    } else {
        info.Bmp = FCacheBmp.get();
        info.Offset = {0, 0};
    }
}

// A parent control is asked as a control: when it keeps no skin of its own it answers
// with its own colour (command 21, else its Color), not with the skin's global colour.
// Only a bare parent window gets the window form of the request.
// Passes a background request on to whoever lies behind this control: the owner
// control's parent, the frame skinner's form's parent, or the parent window of hwnd.
// offset is this control's position there. A request to draw keeps R in the asker's
// coordinates and moves Offset, which says where the asker's origin lies in the parent.
bool TsCommonData::AskParentForBackground(TacBGInfo& request, TPoint& offset, HWND hwnd) noexcept {
    TWinControl* parent = nullptr;
    if (FOwnerControl && FOwnerControl->Parent()) {
        parent = FOwnerControl->Parent();
        offset = OwnerPosition();
    } else if (FFrameSkinnerForm && FFrameSkinnerForm->Parent()) {
        parent = FFrameSkinnerForm->Parent();
        offset = {FFrameSkinnerForm->Left(), FFrameSkinnerForm->Top()};
    }
    const bool draw = request.PleaseDraw;
    if (parent) {
        if (draw) request.Offset = {request.Offset.X + offset.X, request.Offset.Y + offset.Y};
        GetBGInfo(request, parent, draw);
        return true;
    }
    const HWND parentWnd = hwnd ? ::GetParent(hwnd) : nullptr;
    if (!parentWnd) return false;
    RECT wr{};
    ::GetWindowRect(hwnd, &wr);
    POINT p{wr.left, wr.top};
    ::ScreenToClient(parentWnd, &p);
    offset = {p.x, p.y};
    if (draw) request.Offset = {request.Offset.X + offset.X, request.Offset.Y + offset.Y};
    GetBGInfo(request, parentWnd, draw, SkinManager());
    return true;
}

bool TsCommonData::GetParentBGInfo(TacBGInfo& info, bool pleaseDraw) noexcept {
    if (FOwnerControl && FOwnerControl->Parent()) return GetBGInfo(info, FOwnerControl->Parent(), pleaseDraw);
    const HWND own = OwnerHandle();
    const HWND parent = own ? ::GetParent(own) : nullptr;
    if (!parent) return false;
    return GetBGInfo(info, parent, pleaseDraw, SkinManager());
}

void TsCommonData::GetParentCache(TCacheInfo& ci) noexcept {
    if (Skinned() && FOwnerControl && FOwnerControl->Parent()) {
        TacBGInfo info;
        GetBGInfo(info, FOwnerControl->Parent(), false);
        ci = BGInfoToCI(info);
        return;
    }
    if (auto* win = dynamic_cast<TWinControl*>(FOwnerControl); win && !win->Parent() && win->HandleAllocated()) {
        GetParentCacheHwnd(win->Handle(), ci);
        return;
    }
    ci = TCacheInfo{nullptr, 0, 0, GetBGColor(0, nullptr), false};
}

void TsCommonData::GetParentCacheHwnd(HWND hwnd, TCacheInfo& ci) noexcept {
    const HWND parent = hwnd ? ::GetParent(hwnd) : nullptr;
    if (!parent) {
        ci = EmptyCI;
        return;
    }
    TacBGInfo info;
    GetBGInfo(info, parent, false, SkinManager());
    ci = BGInfoToCI(info);
}

int GetFontIndex(TControl* control, int defaultIndex, TsSkinManager* manager, int state) noexcept {
    if (!control || !manager) return defaultIndex;
    TWinControl* parent = control->Parent();
    if (!parent) return defaultIndex;
    TsCommonData* binding = nullptr;
    if (parent->HandleAllocated()) binding = reinterpret_cast<TsCommonData*>(SendAMessage(parent, SKC_GETCOMMONDATA));
    auto decide = [&](int index, int threshold) -> int {
        const TsGeneralData& gd = manager->gd[index];
        const int s = SectionState(gd, state > 0 ? 1 : 0);
        if (gd.Props[s].Transparency >= threshold && parent->Parent())
            return GetFontIndex(parent, defaultIndex, manager, 0);
        return gd.GiveOwnFont ? index : defaultIndex;
    };
    if (binding && binding->FSkinIndex >= 0 && manager->IsValidSkinIndex(binding->FSkinIndex))
        return decide(binding->FSkinIndex, 51);  // transparency over 50
    if (parent->HandleAllocated()) {
        TacSectionInfo info;
        SendAMessage(parent->Handle(), SKC_GETSKININDEX, reinterpret_cast<LPARAM>(&info));
        if (manager->IsValidSkinIndex(info.SkinIndex)) return decide(info.SkinIndex, 51);
    }
    return defaultIndex;
}

int TsCommonData::GetFontIndex(int state) const noexcept {
    if (!FOwnerControl) return -1;
    return qv::GetFontIndex(FOwnerControl, -1, GetSkinManager(), state);
}

void TsCommonData::UpdateCtrlColors(bool repaint) {
    if (!Skinned() || !InKindSet(sEditCtrls, FCOC) || !FOwnerControl) return;
    if (auto* win = dynamic_cast<TWinControl*>(FOwnerControl); win && !win->HandleAllocated()) return;
    const TsGeneralData& gd = GetSkinManager()->gd[FSkinIndex];
    if (!FCustomColor) {
        const TColor c = ChangeSaturation(ChangeHue(FHUEOffset, gd.Color), FSaturation);
        if (FOwnerControl->Color() != c) FOwnerControl->SetColor(c);
    }
    if (!FCustomFont) {
        const TColor c = ChangeSaturation(ChangeHue(FHUEOffset, gd.Props[0].FontColor.Color), FSaturation);
        if (FOwnerControl->Font().Color() != c) FOwnerControl->Font().SetColor(c);
    }
    if (repaint) Invalidate();
}

// ---------------------------------------------------------------- glow

void TsCommonData::HideGlow() noexcept {
    if (GlowID != -1) {
        qv::HideGlow(GlowID);
        GlowID = -1;
    }
}

void TsCommonData::ShowGlowingIfNeeded(bool clear, HWND hwnd) {
    TsSkinManager* m = GetSkinManager();
    if (!m || !m->Effects.AllowGlowing || !m->IsValidSkinIndex(FSkinIndex) || m->gd[FSkinIndex].GlowCount <= 0) return;
    TRect r, clip;
    HWND owner = nullptr;
    if (FOwnerControl) {
        const bool leftHeld = (::GetAsyncKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) &
                               0x8000) != 0;
        if (!FMouseAbove || (leftHeld && FOwnerControl->MouseInClient()) || (clear && GlowID != -1)) {
            HideGlow();
            return;
        }
        TCustomForm* form = GetParentForm(FOwnerControl);
        if (!form || !form->HandleAllocated()) return;
        owner = form->Handle();
        if (auto* win = dynamic_cast<TWinControl*>(FOwnerControl)) {
            if (!win->HandleAllocated()) return;
            RECT wr{};
            ::GetWindowRect(win->Handle(), &wr);
            r = {wr.left, wr.top, wr.right, wr.bottom};
            RECT cb{};
            ::GetClipBox(WholeWindowDC(win->Handle()).get(), &cb);
            clip = {cb.left, cb.top, cb.right, cb.bottom};
        } else {
            const TPoint o = FOwnerControl->ClientOrigin();
            r = {o.X, o.Y, o.X + FOwnerControl->Width(), o.Y + FOwnerControl->Height()};
            TWinControl* parent = FOwnerControl->Parent();
            if (!parent || !parent->HandleAllocated()) return;
            RECT cb{};
            ::GetClipBox(WindowDC(parent->Handle()).get(), &cb);
            const int left = FOwnerControl->Left(), top = FOwnerControl->Top();
            clip = {left < 0 ? -left : 0, top < 0 ? -top : 0, std::min<int>(FOwnerControl->Width(), cb.right - left),
                    std::min<int>(FOwnerControl->Height(), cb.bottom - top)};
        }
    } else if (hwnd) {
        RECT wr{};
        ::GetWindowRect(hwnd, &wr);
        r = {wr.left, wr.top, wr.right, wr.bottom};
        RECT cb{};
        ::GetClipBox(WholeWindowDC(hwnd).get(), &cb);
        clip = {cb.left, cb.top, cb.right, cb.bottom};
        owner = ::GetAncestor(hwnd, GA_ROOT);
    } else {
        return;
    }
    HideGlow();
    GlowID = ShowGlow(r, clip, FSkinSection, m, owner, 255, m->gd[FSkinIndex].GlowMargin, L"GLOW");
}

// ---------------------------------------------------------------- updating

void TsCommonData::BeginUpdate() {
    ++FUpdateCount;
    FUpdating = true;
    CtrlSkinState |= SkinStateLocked;
    SendToOwner(SKC_BEGINUPDATE);
}

void TsCommonData::EndUpdate(bool repaint) {
    --FUpdateCount;
    FUpdating = false;
    CtrlSkinState &= static_cast<std::uint16_t>(~SkinStateLocked);
    if (FUpdateCount <= 0) {
        SendToOwner(SKC_ENDUPDATE);
        if (repaint) Invalidate();
    }
}

bool TsCommonData::GetUpdating() const noexcept {
    TsSkinManager* m = GetSkinManager();
    if (!m || Designing(FOwnerObject)) return false;
    if (!IsCached()) return FUpdating;
    if (FOwnerControl) {
        if (Destroying(FOwnerControl)) return FUpdating;
        if (FUpdating) return true;
        if (!FOwnerControl->Parent()) return false;
        return GetBoolMsg(FOwnerControl->Parent(), SKC_ISUPDATING);
    }
    if (FUpdating) return true;
    if (FFrameSkinnerForm && FFrameSkinnerForm->Parent())
        return GetBoolMsg(FFrameSkinnerForm->Parent(), SKC_ISUPDATING);
    return false;
}

void TsCommonData::Invalidate() {
    if (FOwnerControl) {
        if (Loading(FOwnerControl) || Destroying(FOwnerControl)) return;
        BGChanged = true;
        if (!ControlIsReady(FOwnerControl)) return;
        if (auto* win = dynamic_cast<TWinControl*>(FOwnerControl))
            ::RedrawWindow(win->Handle(), nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
        else FOwnerControl->Repaint();
    } else if (FFrameSkinnerForm) {
        BGChanged = true;
        if (FFrameSkinnerForm->HandleAllocated())
            ::RedrawWindow(FFrameSkinnerForm->Handle(), nullptr, nullptr,
                           RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    }
}

// Labels are the graphic kind that never takes part in cache copying: they draw on
// whatever the parent painted.

bool TsCommonData::RepaintIfMoved() const noexcept {
    if (UrgentPainting || !Skinned() ||
        (FOwnerControl && (IsExcludedGraphicKind(FOwnerControl) || !FOwnerControl->Enabled())))
        return true;
    if (GetSkinManager()->gd[FSkinIndex].Transparency <= 0) return false;
    if (FOwnerControl && FOwnerControl->Parent() && FOwnerControl->Parent()->HandleAllocated())
        return GetBoolMsg(FOwnerControl->Parent(), SKC_REPAINTIFMOVED);
    return false;
}

void TsCommonData::Loaded() {
    UpdateData();
    if (Skinned() && FOwnerControl && FOwnerControl->Parent() && !Loading(FOwnerControl)) {
        if (auto* win = dynamic_cast<TWinControl*>(FOwnerControl)) AddToAdapter(win);
        UpdateCtrlColors(false);
    }
}

void AddToAdapter(TWinControl* control) {
    if (!control || Designing(control) || Loading(control)) return;
    TCustomForm* form = GetParentForm(control);
    if (form && form->HandleAllocated())
        SendAMessage(form->Handle(), SKC_CTRLLOADED, reinterpret_cast<LPARAM>(control));
}

}  // namespace qv
