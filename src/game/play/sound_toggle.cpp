#include "game/play/sound_toggle.h"

#include "game/play/game_ids.h"

bool UpdateSoundToggle(Frame& f, int32_t& soundMode, float x, float y) {
    f.pen.SetScale(2);
    f.pen.SetColor(50, 250, 50, 1);
    int frame = soundMode == 0 ? kIconSoundOff : kIconSoundOn;
    if (!f.input.TakeTouch(f.pen.QueueButton(kImageIcons, x, y, frame))) return false;
    soundMode = 1 - soundMode;
    if (soundMode < 0 || soundMode > 1) soundMode = 0;
    f.sounds.Cue(kSfxClick, 1, 0.5f, 0);
    return true;
}
