// Memory for the Ogg Vorbis decoder. stb_vorbis leaves allocations behind on
// some error paths and computes sizes from header fields that can overflow;
// inside a scope its allocations are bounded, and whatever it still holds
// when the scope ends is released.
#pragma once

#include <cstddef>

class VorbisHeapScope {
  public:
    explicit VorbisHeapScope(size_t limitBytes);
    ~VorbisHeapScope();
    VorbisHeapScope(const VorbisHeapScope&) = delete;
    VorbisHeapScope& operator=(const VorbisHeapScope&) = delete;
};
