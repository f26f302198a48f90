// The parts of the game's state that work on their own: the screen fit, the
// media tables and the input snapshot.
#include "game/game_state.h"

#include <cmath>

#include "game/draw_list.h"
#include "input/input.h"

namespace {

// Device pixels to whole screen units. Before the first render has measured
// the window the scale is still 0; pixels then count as units rather than
// dividing by zero.
int ToScreenUnits(float pixels, float scale) {
    return static_cast<int>(scale > 0 ? pixels / scale : pixels);
}

}  // namespace

int Media::Geometry(int image, int entry) const {
    if (image < 0 || image >= kImages) return 0;
    return imageGeometry[3 * image + entry];
}

// The larger of the two axis factors maps the design onto the device; a
// window of no size (minimised, or not measured yet) keeps the last fit.
void ScreenFit::Fit(int deviceWidth, int deviceHeight) {
    if (deviceWidth <= 0 || deviceHeight <= 0) return;
    float sx = static_cast<float>(deviceWidth) / designWidth;
    float sy = static_cast<float>(deviceHeight) / designHeight;
    fitAxis = 1;
    if (std::fabs(sy - 1) < std::fabs(sx - 1)) fitAxis = 2;
    if (sy < sx) fitAxis = 1;
    if (sx < sy) fitAxis = 2;
    float scale = fitAxis == 1 ? sx : sy;
    screenScaleX = screenScaleY = scale;
    screenWidth = static_cast<float>(deviceWidth) / scale;
    screenHeight = static_cast<float>(deviceHeight) / scale;
    landscape = screenWidth >= screenHeight ? 1 : 0;
}

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
}

// Pointer, button and touches in screen units, once per update.
void InputSnapshot::Sample(const c_InputDevice& device, const ScreenFit& screen) {
    pointerPrevX = pointerX;
    pointerPrevY = pointerY;
    pointerX = ToScreenUnits(device.PointerX(), screen.screenScaleX);
    pointerY = ToScreenUnits(device.PointerY(), screen.screenScaleY);
    bool held = device.KeyHeld(kKeyMouseLeft);
    // A fresh press never shows a jump from where the pointer last rested.
    if (mouseWasDown == 0 && held) {
        pointerPrevX = pointerX;
        pointerPrevY = pointerY;
    }
    pointerDown = held ? 1 : 0;
    clickHits = device.KeyPresses(kKeyMouseLeft);
    for (int i = 0; i < kTouches; i++) {
        touchDown[i] = 0;
        touchX[i] = kNone;
        touchY[i] = kNone;
        if (!device.KeyHeld(kKeyTouchBase + i)) continue;
        touchDown[i] = 1;
        touchX[i] = ToScreenUnits(device.TouchPosX(i), screen.screenScaleX);
        touchY[i] = ToScreenUnits(device.TouchPosY(i), screen.screenScaleY);
        pointerDown = 1;
    }
    mouseWasDown = held ? 1 : 0;
    if (pointerDown == 0) pointerLatch = 0;
}
