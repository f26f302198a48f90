// The sound on/off button the title screen and the pause panel share.
#pragma once

#include <cstdint>

#include "game/play/frame.h"

// Draws the button at (x, y) in the icon sheet's green; a fresh touch turns
// the effects off, or on from off (a mode of 2 or 3 becomes off), and clicks,
// which is heard only when the sound is now on. True when it toggled.
bool UpdateSoundToggle(Frame& frame, int32_t& soundMode, float x, float y);
