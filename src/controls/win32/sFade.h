// Cross-fading a control's face from its previous look to its new one: a 10 ms timer
// blends a copy of the old face with the freshly built cache, step by step, and copies
// each blend to the control's window. The owner is a framework control or a bare window
// that a wrapper skins (its binding has no control); both are told the same commands.
#pragma once
#include "controls/sCommonDataCore.h"
#include "controls/win32/acWinTimer.h"
#include "controls/win32/sCommonData.h"

#include <cstdint>
#include <memory>

namespace qv {

enum TacAnimatEvent : std::uint8_t {
    aeMouseEnter = 0,
    aeMouseLeave = 1,
    aeMouseDown = 2,
    aeMouseUp = 3,
    aeGlobalDef = 4
};
using TacAnimatEvents = std::uint8_t;  // bit (1 << event)
constexpr TacAnimatEvents AnimEvent(TacAnimatEvent e) noexcept { return static_cast<TacAnimatEvents>(1u << e); }

// Live fade and animation timers.
extern int acAnimCount;
// The magnifier window; refreshed after every fade step when it exists.
extern HWND acMagnForm;

class TsFadeTimer : public TacWindowTimer {
public:
    explicit TsFadeTimer(TControl* owner);
    // A bare window: the wrapper that subclasses it answers the commands.
    explicit TsFadeTimer(HWND owner);
    TsFadeTimer(const TsFadeTimer&) = delete;
    TsFadeTimer& operator=(const TsFadeTimer&) = delete;
    ~TsFadeTimer();

    void SetOwnerData(TsCommonData* value);
    TFadeDirection Direction() const noexcept { return FDirection; }
    void SetDirection(TFadeDirection value);
    // One step: blend, show, advance.
    void Change();
    // The tick.
    void Timer();
    // True when the fade has run out (the owner was told to stop it).
    bool ToEnd();

    TFadeDirection FDirection = fdNone;
    TsCommonData* FOwnerData = nullptr;
    int Iterations = 0;
    int FadeLevel = 1;
    std::unique_ptr<TBitmap> BmpFrom;
    bool Destroying = false;

private:
    bool OwnerGone() const noexcept;
    bool OwnerEnabled() const noexcept;
    // The owner's window, when it has one now.
    HWND OwnerHandle() const noexcept;
    LRESULT Tell(int command, LPARAM lParam = 0);

    TControl* FOwner = nullptr;
    HWND FOwnerWnd = nullptr;             // set only for a bare window
    std::unique_ptr<TBitmap> FComposite;  // the face a step shows
};

// The speed buttons' variant: the caller fills BmpFrom, each tick composes into TmpBmp
// and asks the owner to repaint itself (commands 8 and 18).
class TsAnimTimer : public TacWindowTimer {
public:
    explicit TsAnimTimer(TControl* owner);
    TsAnimTimer(const TsAnimTimer&) = delete;
    TsAnimTimer& operator=(const TsAnimTimer&) = delete;
    ~TsAnimTimer();
    void SetOwnerData(TsCommonData* value);
    void DoFade();
    bool ToEnd();

    bool FadeInProcess = false;
    std::unique_ptr<TBitmap> BmpFrom, TmpBmp;
    TsCommonData* FOwnerData = nullptr;
    int Iterations = 0;
    int FadeLevel = 1;
    bool Destroying = false;

private:
    TControl* FOwner;
};

bool EventEnabled(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager = nullptr) noexcept;
void DoChangePaint(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, bool halve, TFadeDirection direction,
                   bool allowed);
// The same for a bare window skinned by a wrapper: wnd shows the steps and is told the
// commands (its binding has no owner control).
void DoChangePaint(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, HWND wnd, bool halve,
                   TFadeDirection direction, bool allowed);
void AnimChange(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding, bool halve, TFadeDirection direction);
void StopFading(std::unique_ptr<TsFadeTimer>& timerSlot, TsCommonData* binding) noexcept;

}  // namespace qv
