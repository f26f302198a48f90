// A check run before a PNG reaches the image decoder: its compressed pixel
// data must inflate to no more than the picture's own size. The decoder grows
// its output without a bound, so a damaged stream could ask for gigabytes.
#pragma once

#include <cstddef>
#include <cstdint>

// True for anything that is not a PNG (other decoders judge it) and for a PNG
// whose header comes first and whose pixel data inflates within the size the
// header gives; false otherwise.
bool PngInflatesWithinSize(const uint8_t* bytes, size_t size);
