#include "core/text.h"

#include <cmath>
#include <cstdio>

#include "core/errors.h"

std::string Narrow(StringView text) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); i++) out[i] = static_cast<char>(text[i] & 0xFF);
    return out;
}

String Widen(std::string_view text) {
    String out(text.size(), u'\0');
    for (size_t i = 0; i < text.size(); i++) out[i] = static_cast<uint8_t>(text[i]);
    return out;
}

namespace {

String DecodeUtf16(const uint8_t* bytes, size_t length, bool bigEndian) {
    String out;
    out.reserve(length / 2);
    for (size_t i = 0; i + 1 < length; i += 2) {
        uint16_t hi = bigEndian ? bytes[i] : bytes[i + 1];
        uint16_t lo = bigEndian ? bytes[i + 1] : bytes[i];
        out.push_back(static_cast<char16_t>(hi << 8 | lo));
    }
    return out;
}

bool IsContinuation(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Strict decoder of one- to three-byte forms; false on anything else.
bool DecodeUtf8(const uint8_t* bytes, size_t length, String* out) {
    out->reserve(length);
    size_t i = 0;
    while (i < length) {
        uint8_t b = bytes[i];
        if (b < 0x80) {
            out->push_back(b);
            i += 1;
        } else if ((b & 0xE0) == 0xC0) {
            if (i + 1 >= length || !IsContinuation(bytes[i + 1])) return false;
            out->push_back(static_cast<char16_t>((b & 0x1F) << 6 | (bytes[i + 1] & 0x3F)));
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            if (i + 2 >= length || !IsContinuation(bytes[i + 1]) || !IsContinuation(bytes[i + 2]))
                return false;
            out->push_back(static_cast<char16_t>((b & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 |
                                                 (bytes[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;  // stray continuation, or a four-byte lead and above
        }
    }
    return true;
}

}  // namespace

String DecodeText(const uint8_t* bytes, size_t length) {
    if (length >= 2 && bytes[0] == 254 && bytes[1] == 255)
        return DecodeUtf16(bytes + 2, length - 2, true);
    if (length >= 2 && bytes[0] == 255 && bytes[1] == 254)
        return DecodeUtf16(bytes + 2, length - 2, false);
    if (length >= 3 && bytes[0] == 239 && bytes[1] == 187 && bytes[2] == 191) {
        bytes += 3;
        length -= 3;
    }
    String out;
    if (DecodeUtf8(bytes, length, &out)) return out;
    Print("Invalid UTF-8!");
    out.assign(length, u'\0');
    for (size_t i = 0; i < length; i++) out[i] = bytes[i];
    return out;
}

std::string EncodeUtf8(StringView text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | c >> 6));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | c >> 12));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

String IntToString(int64_t value) {
    char buffer[24];
    int n = snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return Widen(std::string_view(buffer, n));
}

String FloatToString(float value) {
    if (std::isnan(value)) return u"nan";
    if (std::isinf(value)) return value > 0 ? u"inf" : u"-inf";
    char buffer[48];
    int n = snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    return Widen(std::string_view(buffer, n));
}
