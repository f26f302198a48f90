// What the pen needs of the loaded sheets: each slot's frame size (for text
// and for the buttons' touch areas), the current font and the sheets' scale.
#pragma once

#include <array>
#include <cstdint>

struct SheetSizes {
    static constexpr int kImages = 100;

    std::array<int32_t, 3 * kImages> imageGeometry{};  // frame width, height, count per slot
    int currentFont = 0;
    float resScale = 0;

    // Frame width (0), height (1) or count (2) of an image slot; 0 outside the table.
    int Geometry(int image, int entry) const {
        if (image < 0 || image >= kImages) return 0;
        return imageGeometry[3 * image + entry];
    }
};
