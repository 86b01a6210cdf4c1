// The painting routines read a skin through TacSkinSource; controls hold a skin manager.
// A manager is the model of its loaded skin, and the model is the source painting reads.
#pragma once
#include "model/acSkinSource.h"
#include "skin/win32/sSkinManager.h"

namespace qv {

inline TacSkinSource* ManagerSource(TsSkinManager* manager) noexcept { return manager; }

}  // namespace qv
