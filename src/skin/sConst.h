// The skin engine's constants: its version, the command message every skinned window
// understands with its command codes, and the kinds of skins a directory listing looks
// for. Portable: the codes are plain numbers, shared by the manager and every receiver.
#pragma once
#include "framework/Types.h"
#include "paint/acSkinMessage.h"

#include <cstdint>

namespace qv {

// The engine's version as the manager's Version property reports it.
inline constexpr const wchar_t* acSkinVersion = L"7.66";
// Shown for the "/acver" switch.
inline constexpr const wchar_t* acVersionMessage = L"Velquin v7.66";
// Used when SkinDirectory is empty after construction or loading.
inline constexpr const wchar_t* acDefaultSkinDirectory = L"c:\\Skins";

// SM_ALPHACMD, the engine's command message, is declared by the painting layer with the
// two command codes painting sends (SKC_GETCOLOR, SKC_GETBGINFO).

// Command codes. "Manager" means LParam carries the sending TsSkinManager; receivers
// act only when it is their own manager.
enum : std::uint16_t {
    // Manager. A new skin is active: look the section up again, mark the background
    // changed, refresh the state and clear RestrictDrawing. Sent by SendNewSkin.
    SKC_NEWSKIN = 1,
    // Manager. The skin goes away: indexes to -1, release the cache, mark updating;
    // a skinned window restores its standard frame and passes this on to its children.
    SKC_REMOVESKIN = 2,
    // Manager. Mark the background changed, stop updating and repaint. RepaintForms.
    SKC_REFRESH = 3,
    // Answer: the window's frame-skinning object (an IacFormProvider*), or 0.
    SKC_GETPROVIDER = 4,
    // Exchanged within window and dialog skinning: "is this window wrapped by the
    // dialog skinning"; answer 1 when a wrapper of the automatic skinning owns it.
    SKC_ISWRAPPED = 5,
    // The parent finished painting: a waiting receiver checks whether it may paint
    // now and, if so, redraws itself with its frame and children. SetParentUpdated.
    SKC_PARENTUPDATED = 6,
    // Answer 1 when the receiver handles skinning itself. Asked before any automatic
    // attachment so nothing is wrapped twice, and by the broadcasts.
    SKC_CTRLHANDLED = 7,
    // Updating flag := (low word == 1); a form also marks its background changed.
    SKC_SETUPDATING = 8,
    // Urgent-painting flag := (low word == 1).
    SKC_SETURGENT = 9,
    // Answer 1 when the background changed or the receiver is updating.
    SKC_ISUPDATING = 10,
    // Answer: the half-visible flag of the receiver's binding.
    SKC_ISHALFVISIBLE = 11,
    // Exchanged within window and dialog skinning: "forget your wrapper"; a wrapped
    // window restores its original window procedure. No answer.
    SKC_UNWRAP = 14,
    // The receiver's section, upper-cased, equals GlobalSectionName: stop restricting
    // drawing and invalidate. UpdateSkinSection.
    SKC_UPDATESECTION = 13,
    // LParam: another binding; take its section name as own section.
    SKC_SETSECTION = 15,
    // Stop any fading animation at once. RepaintForms sends it first.
    SKC_STOPFADING = 16,
    // Mark the background changed.
    SKC_BGCHANGED = 17,
    // Mark the background changed, stop waiting and repaint now.
    SKC_REPAINT = 18,
    // Answer: whether the receiver must repaint when it moves.
    SKC_REPAINTIFMOVED = 19,
    // The parent moved: background changed when the receiver repaints when moved;
    // with low word 1 a windowed receiver invalidates itself and its children.
    SKC_PARENTMOVED = 20,
    // 21, SKC_GETCOLOR: sent by painting, defined beside SM_ALPHACMD.
    // Half-visible flag := true.
    SKC_SETHALFVISIBLE = 22,
    // Build the window's cache now.
    SKC_PREPARECACHE2 = 23,
    // A push button releases its window region.
    SKC_DROPREGION = 24,
    // LParam: a control that finished loading; a form with frame skinning adds it to
    // its automatically skinned controls.
    SKC_CTRLLOADED = 25,
    // LParam: pointer to a record whose first field is an int32 section index; the
    // receiver writes its section index there. Answer 1.
    SKC_GETSKININDEX = 26,
    // Answer: height of the top band of the receiver's frame.
    SKC_GETTOPBANDHEIGHT = 27,
    // A dialog wrapper wraps child windows that appeared after it was attached.
    SKC_WRAPNEWCHILDREN = 28,
    // Manager. The mouse entered the receiver (hot state). SetActiveControl.
    SKC_MOUSEENTER = 29,
    // Manager. The mouse left the receiver.
    SKC_MOUSELEAVE = 30,
    // Begin / end a batch of changes (TsCommonData.BeginUpdate / EndUpdate).
    SKC_BEGINUPDATE = 31,
    SKC_ENDUPDATE = 32,
    // Pass 33 to windowed children, release the cache, mark background changed and
    // updating.
    SKC_DROPCACHE = 33,
    // 34, SKC_GETBGINFO: sent by painting, defined beside SM_ALPHACMD.
    // Answer: the receiver's disabled kind.
    SKC_GETDISABLEDKIND = 35,
    // LParam 1: recompute the skin state; 0: answer it. Answer: the skin-state flags.
    SKC_SKINSTATE = 36,
    // Answer: pointer to the receiver's skin binding (TsCommonData).
    SKC_GETCOMMONDATA = 37,
    // LParam: a drawing context for printing, or 0. Sets or clears state bit 0x200.
    SKC_SETPRINTDC = 38,
    // A form that repaints when moved prepares for scrolling / repaints fully after it.
    SKC_BEFORESCROLL = 51,
    SKC_AFTERSCROLL = 52,
    // Answer: the application object.
    SKC_GETAPPLICATION = 60,
    // Answer: a framed form's client-area offsets (vertical high word, horizontal low).
    SKC_GETCLIENTOFFSETS = 61,
};

// The word parameter of a command.
constexpr std::uintptr_t MakeAlphaWParam(std::uint16_t command, std::uint16_t argument = 0) noexcept {
    return (static_cast<std::uintptr_t>(command) << 16) | argument;
}

enum TacSkinTypes { stUnpacked, stPacked, stAllSkins };

// What the automatic skinning may skin.
enum TacSkinningRule : std::uint8_t { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = std::uint8_t;

}  // namespace qv
