// What one update of the match, the pause panel or a screen may touch: the pen,
// the sound cues, the input snapshot, the screen fit and the clock. The core
// builds it over its own parts and acts on what the play layer reports back.
#pragma once

#include <array>
#include <cstdint>

#include "game/play/input_snapshot.h"
#include "game/play/pen.h"
#include "game/play/screen_fit.h"
#include "game/play/sheet_sizes.h"
#include "game/play/sound_cues.h"

struct Frame {
    Frame(DrawList& list, ScreenFit& screenFit, const SheetSizes& sheets, InputSnapshot& input,
          const int32_t& soundMode)
        : pen(list, screenFit.backgroundColor, sheets, input),
          sounds(soundMode),
          input(input),
          screen(screenFit) {}

    Pen pen;
    SoundCues sounds;
    InputSnapshot& input;  // the latches are the play layer's to set
    const ScreenFit& screen;
    int nowMs = 0;  // the platform clock, read when the core hands the frame over
};
