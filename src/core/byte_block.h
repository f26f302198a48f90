// A malloc'd block released with free(): what whole-file reads and decoders hand back.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

struct FreeDeleter {
    void operator()(void* p) const { free(p); }
};
using ByteBlock = std::unique_ptr<uint8_t[], FreeDeleter>;
