// The parts of the game's state that work on their own: the media tables, the
// input snapshot and the frame timing.
#include "game/game_state.h"

#include "game/play/draw_list.h"
#include "input/input.h"
#include "music/tune_player.h"
#include "platform/platform_game.h"

namespace {

// Device pixels to whole screen units. Before the first render has measured
// the window the scale is still 0; pixels then count as units rather than
// dividing by zero.
int ToScreenUnits(float pixels, float scale) {
    return static_cast<int>(scale > 0 ? pixels / scale : pixels);
}

}  // namespace

Media::Media() = default;
Media::~Media() = default;

// Strictly above 630 pixels on either side: level 2; above 1230: level 4.
void Media::ChooseResolution(int width, int height) {
    resLevel = 1;
    resScale = 1.0f;
    if (width > 630 || height > 630) {
        resLevel = 2;
        resScale = 0.5f;
    }
    if (width > 1230 || height > 1230) {
        resLevel = 4;
        resScale = 0.25f;
    }
    // Levels the platform does not have yet give way to the next one down.
    while (resLevel > 1 && resLevel > levelLimit) {
        resLevel /= 2;
        resScale *= 2;
    }
}

void Media::LowerResolution() {
    if (resLevel <= 1) return;
    resLevel /= 2;
    resScale = 1.0f / static_cast<float>(resLevel);
}

// Pointer, button and touches in screen units, once per update.
void SampleInput(InputSnapshot& in, const c_InputDevice& device, const ScreenFit& screen) {
    in.pointerPrevX = in.pointerX;
    in.pointerPrevY = in.pointerY;
    in.pointerX = ToScreenUnits(device.PointerX(), screen.screenScaleX);
    in.pointerY = ToScreenUnits(device.PointerY(), screen.screenScaleY);
    bool held = device.KeyHeld(kKeyMouseLeft);
    // A fresh press never shows a jump from where the pointer last rested.
    if (in.mouseWasDown == 0 && held) {
        in.pointerPrevX = in.pointerX;
        in.pointerPrevY = in.pointerY;
    }
    in.pointerDown = held ? 1 : 0;
    in.clickHits = device.KeyPresses(kKeyMouseLeft);
    for (int i = 0; i < InputSnapshot::kTouches; i++) {
        in.touchDown[i] = 0;
        in.touchX[i] = kNone;
        in.touchY[i] = kNone;
        if (!device.KeyHeld(kKeyTouchBase + i)) continue;
        in.touchDown[i] = 1;
        in.touchX[i] = ToScreenUnits(device.TouchPosX(i), screen.screenScaleX);
        in.touchY[i] = ToScreenUnits(device.TouchPosY(i), screen.screenScaleY);
        in.pointerDown = 1;
    }
    in.mouseWasDown = held ? 1 : 0;
    if (in.pointerDown == 0) in.pointerLatch = 0;
}

int FrameClock::NowMs() const {
    return platform_ ? platform_->ElapsedMs() : 0;
}

void FrameTiming::MeasureRate(const FrameClock& clock, int& stamp, int& fps, int& average) {
    int t = clock.NowMs();
    if (t - stamp > 0) fps = 1000 / (t - stamp);
    average = (average * 9 + fps) / 10;
    stamp = clock.NowMs();
}
