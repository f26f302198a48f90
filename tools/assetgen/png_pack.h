// PNG files as small as lossless PNG allows for the sheets the generator draws:
// the smallest colour type that holds every pixel exactly (palette, grey,
// RGB or RGBA), rows filtered one by one, zlib at its best level.
#pragma once

#include <cstdint>
#include <vector>

// What a packed file may hold. Some readers (the Windows icon loader) expect
// the pixels as RGBA, whatever else would be smaller.
enum class PngColours { Smallest, Rgba };

// Best is zlib's level 9, several times slower than Quick (level 6), which
// costs about what a plain writer does and gives files some 5 % larger: for
// a build that is only played where it was built.
enum class PngEffort { Best, Quick };

// The PNG file for 8-bit straight-alpha RGBA rows from the top; it decodes to
// exactly these pixels (fully transparent ones included). Empty when the
// sizes are out of range.
std::vector<uint8_t> PackPng(const uint8_t* rgba, int width, int height,
                             PngColours colours = PngColours::Smallest,
                             PngEffort effort = PngEffort::Best);
