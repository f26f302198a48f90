// Feeds arbitrary bytes to the Ogg Vorbis path as a ".ogg" file.
#include <cstdio>

#include "formats/audio_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    DecodedAudio out;
    if (DecodeAudioByName("x.ogg", file, &out) && out.data && out.length > 0) {
        size_t bytes = static_cast<size_t>(out.length) * out.channels * out.format;
        volatile uint8_t sink = out.data[bytes - 1];
        (void)sink;
    }
    fclose(file);
    return 0;
}
