// The logical screen fitted to the window: recomputed by every render.
#pragma once

#include <array>

struct ScreenFit {
    int knownWidth = 0, knownHeight = 0;  // framebuffer pixels last seen by a render
    float screenScaleX = 0, screenScaleY = 0;
    int fitAxis = 0;
    int landscape = 0;
    std::array<float, 4> backgroundColor{};  // set by the update's first pen stroke
    // The logical screen in screen units; the design size until the first render.
    float screenWidth = 640, screenHeight = 480;
    float designWidth = 640, designHeight = 480;

    // The larger of the two axis factors maps the design onto the device.
    void Fit(int deviceWidth, int deviceHeight);
};
