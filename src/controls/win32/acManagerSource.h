// The painting routines read a skin through TacSkinSource; controls hold a skin manager.
// ManagerSource gives the source that serves a manager's loaded skin: the one bound to
// the manager when there is one, else a small adapter over the manager's model, made
// once per manager and bound so the skin's images find their master bitmap.
#pragma once
#include "paint/acSkinSource.h"
#include "skin/win32/sSkinManager.h"

namespace qv {

TacSkinSource* ManagerSource(TsSkinManager* manager) noexcept;

}  // namespace qv
