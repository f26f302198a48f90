// What the decoders hand back: pixels or PCM in one malloc'd block.
#pragma once

#include "core/byte_block.h"

struct DecodedImage {
    ByteBlock pixels;  // rows top to bottom, components bytes per pixel
    int width = 0;
    int height = 0;
    int components = 0;
};

struct DecodedAudio {
    ByteBlock data;  // interleaved little-endian PCM
    int length = 0;  // sample frames
    int channels = 0;
    int format = 0;  // bytes per sample
    int hertz = 0;
};
