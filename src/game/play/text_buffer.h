// Fixed-capacity text for building labels without touching the heap.
#pragma once

#include <array>
#include <cstdint>

#include "core/text.h"

class TextBuffer {
  public:
    static constexpr int kCapacity = 256;

    TextBuffer() = default;
    explicit TextBuffer(StringView text) { Append(text); }

    void Clear() { length_ = 0; }
    // Appends what fits; the rest is cut off.
    TextBuffer& Append(StringView text);
    TextBuffer& Append(const char* ascii);
    TextBuffer& Append(char16_t c);
    TextBuffer& AppendInt(int64_t value);
    // Plain decimal form of a float, as the debug line shows it.
    TextBuffer& AppendFloat(float value);
    StringView View() const { return StringView(chars_.data(), length_); }
    int Length() const { return length_; }

  private:
    std::array<char16_t, kCapacity> chars_{};
    int length_ = 0;
};
