// Strings of 16-bit characters and the program's own text codec.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using String = std::u16string;
using StringView = std::u16string_view;

// Low byte of each character, for everything that needs a narrow string.
std::string Narrow(StringView text);
// Each byte becomes one character of the same value.
String Widen(std::string_view text);

// Decodes file bytes: UTF-16 by byte-order mark, else UTF-8 (mark skipped),
// falling back to Latin-1 with "Invalid UTF-8!" when the UTF-8 is broken.
String DecodeText(const uint8_t* bytes, size_t length);
// UTF-8 without a mark, one 16-bit character at a time (surrogates one by one).
std::string EncodeUtf8(StringView text);

// Decimal text of an int, as the runtime writes numbers.
String IntToString(int64_t value);
// Plain decimal text of a float ("1.25", "2", "0.5").
String FloatToString(float value);
