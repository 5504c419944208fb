// The skin "DiruriZedaz": every picture and value, drawn here (never copied from anywhere).
//
// A warm Javanese look: deep indigo title bars with a quiet kawung batik texture, a soft cream
// client background, sogan brown and gold accents, rounded caption buttons with a gold hover
// glow, message-box buttons as soft raised pills, crisp one-pixel edges; inactive windows take a
// calmer slate instead of indigo and tan instead of gold.
#pragma once

#include "tools/skingen/skin_writer.h"

namespace sapala::skingen {

inline constexpr const char* kSkinName = "DiruriZedaz";

// Adds every section, value and picture of the skin to `w` (a fresh writer).
void DrawDiruriZedaz(SkinWriter& w);

}  // namespace sapala::skingen
