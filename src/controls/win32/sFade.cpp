#include "controls/win32/sFade.h"

#include "framework/win32/Handles.h"
#include "framework/win32/Application.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "skin/win32/sMessages.h"

namespace qv {

int acAnimCount = 0;
HWND acMagnForm = nullptr;

namespace {

bool Gone(const TComponent* c) noexcept { return !c || c->HasState(csDestroying); }

void RepaintNow(TControl* control) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (win->HandleAllocated())
            ::RedrawWindow(win->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    } else if (control) {
        control->Repaint();
    }
}

const TsGeneralData* SectionOf(TsCommonData* b) noexcept {
    TsSkinManager* m = b ? b->GetSkinManager() : nullptr;
    return (m && m->IsValidSkinIndex(b->FSkinIndex)) ? &m->gd[b->FSkinIndex] : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- TsFadeTimer

TsFadeTimer::TsFadeTimer(TControl* owner) : FOwner(owner) {
    ++acAnimCount;
    OnTimer = [this] { Timer(); };
}

TsFadeTimer::TsFadeTimer(HWND owner) : FOwnerWnd(owner) {
    ++acAnimCount;
    OnTimer = [this] { Timer(); };
}

bool TsFadeTimer::OwnerGone() const noexcept { return FOwnerWnd ? !::IsWindow(FOwnerWnd) : Gone(FOwner); }

bool TsFadeTimer::OwnerEnabled() const noexcept {
    return FOwnerWnd ? ::IsWindowEnabled(FOwnerWnd) != FALSE : FOwner->Enabled();
}

HWND TsFadeTimer::OwnerHandle() const noexcept {
    if (FOwnerWnd) return FOwnerWnd;
    auto* win = dynamic_cast<TWinControl*>(FOwner);
    return win && win->HandleAllocated() ? win->Handle() : nullptr;
}

LRESULT TsFadeTimer::Tell(int command, LPARAM lParam) {
    return FOwnerWnd ? SendAMessage(FOwnerWnd, command, lParam) : SendAMessage(FOwner, command, lParam);
}

TsFadeTimer::~TsFadeTimer() {
    Destroying = true;
    SetEnabled(false);
    --acAnimCount;
}

void TsFadeTimer::SetOwnerData(TsCommonData* value) {
    FOwnerData = value;
    const TsGeneralData* gd = SectionOf(value);
    if (!gd) return;
    if (value->BGChanged && (!value->FCacheBmp || value->FCacheBmp->Empty())) Tell(SKC_PREPARECACHE2);
    try {
        // A restarted fade copies into the start image it already has.
        if (!BmpFrom) BmpFrom = std::make_unique<TBitmap>();
        if (value->FCacheBmp) BmpFrom->Assign(*value->FCacheBmp);
    } catch (...) {
        BmpFrom.reset();
    }
    SetInterval(10);
    Iterations = gd->FadingIterations;
}

void TsFadeTimer::SetDirection(TFadeDirection value) {
    FDirection = value;
    if (FadeLevel < 0) FadeLevel = 1;
    SetEnabled(value != fdNone);
}

void TsFadeTimer::Timer() {
    if (!FOwnerData || Destroying || FadingForbidden) return;
    if (ToEnd()) return;  // the owner may have freed this timer
    if (FDirection == fdUp || FDirection == fdDown) Change();
}

bool TsFadeTimer::ToEnd() {
    if (!OwnerGone() && !Application().Terminated()) {
        if (FadeLevel >= 0 && FadeLevel <= Iterations) return false;
        Tell(SKC_STOPFADING);
        return true;
    }
    FDirection = fdNone;
    return false;
}

void TsFadeTimer::Change() {
    if (OwnerGone() || Iterations == 0 || FadingForbidden) return;
    if (!OwnerEnabled()) {
        SetEnabled(false);
        Iterations = 0;
        if (FOwnerData) FOwnerData->Invalidate();
        return;
    }
    const int a = FadeStepWeight(FadeLevel, Iterations);
    TBitmap* cache = FOwnerData ? FOwnerData->FCacheBmp.get() : nullptr;
    if (BmpFrom && cache && BmpFrom->Width() == cache->Width() && BmpFrom->Height() == cache->Height() &&
        !cache->Empty()) {
        try {
            // One composite for the whole fade: every step overwrites it.
            if (!FComposite) FComposite = std::make_unique<TBitmap>();
            TBitmap& composite = *FComposite;
            composite.Assign(*BmpFrom);
            SumBitmaps(&composite, cache, static_cast<TColor>(a));
            const LRESULT painted = Tell(SKC_DROPREGION, reinterpret_cast<LPARAM>(&composite));
            if (HWND wnd = painted == 0 ? OwnerHandle() : nullptr) {
                const WholeWindowDC dc(wnd);
                const SavedDC saved(dc.get());
                if (dc)
                    ::BitBlt(dc.get(), 0, 0, composite.Width(), composite.Height(), composite.Canvas().Handle(), 0, 0,
                             SRCCOPY);
            }
            if (acMagnForm && ::IsWindow(acMagnForm)) SendAMessage(acMagnForm, SKC_REFRESH);
        } catch (...) {
            // A step that cannot be composed is skipped; the next one tries again.
        }
    }
    ++FadeLevel;
}

// ---------------------------------------------------------------- TsAnimTimer

TsAnimTimer::TsAnimTimer(TControl* owner) : FOwner(owner) {
    ++acAnimCount;
    OnTimer = [this] {
        if (!ToEnd()) DoFade();
    };
}

TsAnimTimer::~TsAnimTimer() {
    Destroying = true;
    SetEnabled(false);
    --acAnimCount;
}

void TsAnimTimer::SetOwnerData(TsCommonData* value) {
    FOwnerData = value;
    SetInterval(10);
    if (const TsGeneralData* gd = SectionOf(value)) Iterations = gd->FadingIterations;
}

bool TsAnimTimer::ToEnd() {
    if (!Gone(FOwner) && !Destroying && !Application().Terminated()) {
        if (FadeLevel >= 0 && FadeLevel <= Iterations) return false;
        SendAMessage(FOwner, SKC_STOPFADING);
        return true;
    }
    return true;
}

void TsAnimTimer::DoFade() {
    if (FadeInProcess || !FOwnerData || FadingForbidden) return;
    FadeInProcess = true;
    TBitmap* cache = FOwnerData->FCacheBmp.get();
    if (BmpFrom && cache && BmpFrom->Width() == cache->Width() && BmpFrom->Height() == cache->Height()) {
        try {
            if (!TmpBmp) TmpBmp = std::make_unique<TBitmap>();
            TmpBmp->Assign(*BmpFrom);
            SumBitmaps(TmpBmp.get(), cache, static_cast<TColor>(FadeStepWeight(FadeLevel, Iterations)));
            TMessage m = MakeAlphaMessage(SKC_SETUPDATING, 0, 0);
            FOwner->Perform(m.Msg, m.WParam, m.LParam);
            SendAMessage(FOwner, SKC_REPAINT);
            if (acMagnForm && ::IsWindow(acMagnForm)) SendAMessage(acMagnForm, SKC_REFRESH);
        } catch (...) {
        }
    }
    ++FadeLevel;
    FadeInProcess = false;
}

// ---------------------------------------------------------------- functions

bool EventEnabled(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager) noexcept {
    if (events & AnimEvent(event)) return true;
    if (!(events & AnimEvent(aeGlobalDef))) return false;
    if (!manager) manager = DefaultManager;
    if (!manager) return false;
    std::uint8_t mapped = beMouseUp;
    switch (event) {
    case aeMouseEnter: mapped = beMouseEnter; break;
    case aeMouseLeave: mapped = beMouseLeave; break;
    case aeMouseDown: mapped = beMouseDown; break;
    default: break;
    }
    return (manager->AnimEffects.Buttons.Events & mapped) != 0;
}

void StopFading(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding) noexcept {
    (void)binding;
    if (!timerSlot || timerSlot->Destroying) return;
    timerSlot->SetEnabled(false);
    timerSlot->FDirection = fdNone;
    timerSlot.reset();
}

namespace {

// Who shows a fade: the binding's control, or a bare window (wnd set).
struct FadeOwner {
    TControl* Control = nullptr;
    HWND Wnd = nullptr;
    explicit operator bool() const noexcept { return Control || Wnd; }
    std::unique_ptr<TsFadeTimer> NewTimer() const {
        return Wnd ? std::make_unique<TsFadeTimer>(Wnd) : std::make_unique<TsFadeTimer>(Control);
    }
    void Tell(int command) const {
        if (Wnd) SendAMessage(Wnd, command);
        else SendAMessage(Control, command);
    }
    void RepaintNow() const {
        if (Wnd) ::RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        else qv::RepaintNow(Control);
    }
};

void StartFade(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, const FadeOwner& owner, bool halve,
               TFadeDirection direction) {
    const TsGeneralData* gd = SectionOf(binding);
    if (!gd || !gd->FadingEnabled || !owner) return;
    const bool running = timerSlot != nullptr;
    if (!running) timerSlot = owner.NewTimer();
    TsFadeTimer* timer = timerSlot.get();
    timer->SetOwnerData(binding);
    // Step count and first step by the direction the timer was going (before this change).
    timer->Iterations = FadeIterations(gd->FadingIterations, running, timer->FDirection, halve, timer->FadeLevel);
    owner.Tell(SKC_PREPARECACHE2);
    if (timerSlot.get() == timer) timer->SetDirection(direction);
}

// A bare window follows the rule a control's glow follows: none while the pointer is
// away, and a press or release takes a shown glow away.
void ShowGlowIfNeeded(TsCommonData* binding, const FadeOwner& owner, bool halve) {
    if (owner.Wnd && (!binding->FMouseAbove || (halve && binding->GlowID != -1))) {
        binding->HideGlow();
        return;
    }
    binding->ShowGlowingIfNeeded(halve, owner.Wnd);
}

// The system's setting for animating controls inside windows (off for people who find
// motion hard to bear, or on slow remote sessions): while it is off, states change at
// once instead of fading. Read each time, so a change takes effect without a restart.
bool ClientAreaAnimationOn() noexcept {
    BOOL on = TRUE;
    if (!::SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &on, 0)) return true;
    return on != FALSE;
}

void ChangePaint(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, const FadeOwner& owner, bool halve,
                 TFadeDirection direction, bool allowed) {
    if (!binding || !binding->Skinned()) return;
    const TsGeneralData* gd = SectionOf(binding);
    if (allowed && !aSkinChanging && gd->FadingEnabled && !FadingForbidden && ClientAreaAnimationOn() &&
        binding->FCacheBmp && !binding->FCacheBmp->Empty() && !binding->BGChanged) {
        binding->BGChanged = true;
        StartFade(timerSlot, binding, owner, halve, direction);
        ShowGlowIfNeeded(binding, owner, halve);
        return;
    }
    binding->BGChanged = true;
    if (timerSlot) StopFading(timerSlot, binding);
    owner.RepaintNow();
    ShowGlowIfNeeded(binding, owner, halve);
}

}  // namespace

void AnimChange(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, bool halve, TFadeDirection direction) {
    if (!ClientAreaAnimationOn()) {
        DoChangePaint(timerSlot, binding, halve, direction, false);
        return;
    }
    StartFade(timerSlot, binding, FadeOwner{binding ? binding->FOwnerControl : nullptr, nullptr}, halve, direction);
}

void DoChangePaint(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, bool halve, TFadeDirection direction,
                   bool allowed) {
    ChangePaint(timerSlot, binding, FadeOwner{binding ? binding->FOwnerControl : nullptr, nullptr}, halve, direction,
                allowed);
}

void DoChangePaint(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, HWND wnd, bool halve,
                   TFadeDirection direction, bool allowed) {
    ChangePaint(timerSlot, binding, FadeOwner{nullptr, wnd}, halve, direction, allowed);
}

}  // namespace qv
