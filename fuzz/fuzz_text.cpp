// The text decoder over every byte-order-mark case; encoding what it decoded
// must decode back to the same characters.
#include <cstdio>
#include <cstdlib>

#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    String text = DecodeText(data, size);
    std::string bytes = EncodeUtf8(text);
    String again = DecodeText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    // A leading mark-like character would be taken as a mark the second time.
    bool markFirst = !text.empty() && (text[0] == 0xFEFF || text[0] == 0xFFFE);
    if (!markFirst && again != text) abort();
    return 0;
}

// Silence "Invalid UTF-8!" lines while fuzzing.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!freopen("/dev/null", "w", stdout)) return 0;
    return 0;
}
