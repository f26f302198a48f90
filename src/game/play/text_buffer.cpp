#include "game/play/text_buffer.h"

#include <charconv>
#include <cstdio>

TextBuffer& TextBuffer::Append(StringView text) {
    for (char16_t c : text) Append(c);
    return *this;
}

TextBuffer& TextBuffer::Append(const char* ascii) {
    if (!ascii) return *this;
    for (; *ascii; ascii++) Append(static_cast<char16_t>(static_cast<unsigned char>(*ascii)));
    return *this;
}

TextBuffer& TextBuffer::Append(char16_t c) {
    if (length_ < kCapacity) chars_[length_++] = c;
    return *this;
}

// Digits through to_chars: no locale, no heap.
TextBuffer& TextBuffer::AppendInt(int64_t value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    for (char* p = digits; p < result.ptr; p++) Append(static_cast<char16_t>(*p));
    return *this;
}

// Six significant digits, trailing zeros dropped ("1.25", "2", "0.5"), like "%g".
// Where the C++ library has no floating-point to_chars (the web toolchain's),
// "%.6g" is the same format by definition and allocates nothing either.
TextBuffer& TextBuffer::AppendFloat(float value) {
    char digits[48];
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
    if (result.ec != std::errc()) return Append("nan");
    const char* end = result.ptr;
#else
    int n = std::snprintf(digits, sizeof digits, "%.6g", static_cast<double>(value));
    if (n < 0 || n >= static_cast<int>(sizeof digits)) return Append("nan");
    const char* end = digits + n;
#endif
    for (const char* p = digits; p < end; p++) Append(static_cast<char16_t>(*p));
    return *this;
}
