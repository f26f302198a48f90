// Decodes a PNG (or another picture stb_image reads) from an open file.
#pragma once

#include <cstdio>

#include "formats/decoded.h"

// Reads from the file's current position to its end; false for anything
// damaged, hostile or too large.
bool DecodeImage(FILE* file, DecodedImage* out);

// The picture's size from its header alone, read from the file's current
// position; false when it is no picture stb_image knows.
bool ReadImageSize(FILE* file, int* width, int* height);
