#include "game/play/screen_fit.h"

#include <cmath>

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
