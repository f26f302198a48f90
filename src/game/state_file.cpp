// The saved state: settings, badge flags and three highscore tables written as
// one string of "|"-terminated numbers, each section guarded by its own sum so
// a damaged section is reset alone while the others still load.
#include "game/state_file.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>

#include "core/errors.h"
#include "platform/platform_game.h"

namespace {

constexpr int kBadgeWords = SavedData::kBadges / 32;
constexpr int kTables = SavedData::kTables;
constexpr int kTableLength = SavedData::kTableLength;
// Numbers the full string holds: each section's values and its checksum (98).
constexpr int kStateNumbers =
    (kSettingsCount + 1) + (kBadgeWords + 1) + kTables * (2 * kTableLength + 1);

// Checksums wrap like 32-bit ints; summing in unsigned keeps that defined.
int32_t SettingsChecksum(const std::array<int32_t, kSettingsCount>& settings) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettingsCount; i++)
        sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
    return static_cast<int32_t>(sum);
}

// Badge word w carries flags 32w .. 32w + 31, flag 32w + b in bit b.
int32_t BadgeWord(const std::array<bool, SavedData::kBadges>& flags, int w) {
    uint32_t word = 0;
    for (int b = 0; b < 32; b++)
        if (flags[32 * w + b]) word |= 1u << b;
    return static_cast<int32_t>(word);
}

int32_t BadgeChecksum(const std::array<int32_t, kBadgeWords>& words) {
    uint32_t sum = 0;
    for (int32_t w : words) sum += static_cast<uint32_t>(w);
    return static_cast<int32_t>(sum);
}

// Positions weighted per table, so moved scores change the sum.
int32_t TableChecksum(const SavedData& saved, int t) {
    const int32_t* best = saved.Best(t);
    const int32_t* recent = saved.Recent(t);
    uint32_t sum = 0;
    for (int i = 0; i < kTableLength; i++) {
        sum += static_cast<uint32_t>(i + 4) * static_cast<uint32_t>(best[i]);
        sum += static_cast<uint32_t>(i + t + 3) * static_cast<uint32_t>(recent[i]);
    }
    return static_cast<int32_t>(sum);
}

void AppendNumber(std::string& out, int32_t value) {
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
    out.push_back('|');
}

bool IsSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Leading number of a token, from the low byte of each character: white space
// skipped, optional sign, digits; no digits reads as 0. Digits beyond 32 bits
// wrap around rather than overflow, and the section's checksum decides.
int32_t ReadNumber(StringView token) {
    size_t i = 0;
    while (i < token.size() && IsSpace(static_cast<unsigned char>(token[i]))) i++;
    bool negative = false;
    if (i < token.size()) {
        auto c = static_cast<unsigned char>(token[i]);
        if (c == '-' || c == '+') {
            negative = c == '-';
            i++;
        }
    }
    uint32_t value = 0;
    for (; i < token.size(); i++) {
        auto c = static_cast<unsigned char>(token[i]);
        if (c < '0' || c > '9') break;
        value = value * 10u + static_cast<uint32_t>(c - '0');
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

// The tokens a load can use, found in one pass: the first 98 are located, the
// rest only counted, so a huge file costs no more memory than a small one.
class StateTokens {
  public:
    explicit StateTokens(StringView state) {
        size_t start = 0;
        for (size_t i = 0; i <= state.size(); i++) {
            if (i < state.size() && state[i] != u'|') continue;
            if (count_ < kStateNumbers) views_[count_] = state.substr(start, i - start);
            count_++;
            start = i + 1;
        }
    }
    // Splitting at every "|" gives one token more than there are bars.
    long long Count() const { return count_; }
    int32_t Number(long long index) const {
        return index < kStateNumbers ? ReadNumber(views_[index]) : 0;
    }

  private:
    std::array<StringView, kStateNumbers> views_{};
    long long count_ = 0;
};

void PrintTableMessage(int t, const char* outcome) {
    std::string line = "Highscore " + std::to_string(t) + outcome;
    Print(line.c_str());
}

// The state string as saved.
std::string BuildState(const SavedData& saved) {
    const auto& settings = saved.settings;
    std::string out;
    out.reserve(kStateNumbers * 12);
    for (int32_t value : settings) AppendNumber(out, value);
    AppendNumber(out, SettingsChecksum(settings));

    std::array<int32_t, kBadgeWords> words{};
    for (int w = 0; w < kBadgeWords; w++) {
        words[w] = BadgeWord(saved.badgeFlags, w);
        AppendNumber(out, words[w]);
    }
    AppendNumber(out, BadgeChecksum(words));

    for (int t = 0; t < kTables; t++) {
        for (int i = 0; i < kTableLength; i++) {
            AppendNumber(out, saved.Best(t)[i]);
            AppendNumber(out, saved.Recent(t)[i]);
        }
        AppendNumber(out, TableChecksum(saved, t));
    }
    return out;
}

// Settings: values stored first, so a failed check must overwrite them all.
// The read position moves past the section only when it was there.
void ApplySettings(SavedData& saved, const StateTokens& tokens, long long& position) {
    auto& settings = saved.settings;
    if (tokens.Count() >= kSettingsCount + 1) {
        for (int i = 0; i < kSettingsCount; i++) settings[i] = tokens.Number(i);
        int32_t stored = tokens.Number(kSettingsCount);
        position = kSettingsCount + 1;
        if (stored == SettingsChecksum(settings)) {
            Print("Settings Loaded");
        } else {
            Print("Settings Checksum Invalid");
            settings.fill(0);
            saved.SoundMode() = 1;
        }
    }
    // The on-screen pad must stay reachable and usable whatever was stored.
    if (settings[kSettingPadX] < 64) settings[kSettingPadX] = 64;
    if (settings[kSettingPadY] < 64) settings[kSettingPadY] = 64;
    if (settings[kSettingPadSize] < 8) settings[kSettingPadSize] = 10;
}

void ApplyBadges(SavedData& saved, const StateTokens& tokens, long long& position) {
    if (tokens.Count() <= position + kBadgeWords) return;
    std::array<int32_t, kBadgeWords> words{};
    for (int w = 0; w < kBadgeWords; w++) {
        words[w] = tokens.Number(position + w);
        auto bits = static_cast<uint32_t>(words[w]);
        for (int b = 0; b < 32; b++) saved.badgeFlags[32 * w + b] = (bits >> b & 1u) != 0;
    }
    int32_t stored = tokens.Number(position + kBadgeWords);
    position += kBadgeWords + 1;
    if (stored == BadgeChecksum(words)) {
        Print("Badges Loaded");
    } else {
        Print("Badge Checksum Invalid");
        saved.badgeFlags.fill(false);
    }
}

// False when the table lacks tokens: it and the later ones are left alone.
bool ApplyTable(SavedData& saved, int t, const StateTokens& tokens, long long& position) {
    if (tokens.Count() <= position + 2 * kTableLength) return false;
    for (int i = 0; i < kTableLength; i++) {
        saved.Best(t)[i] = tokens.Number(position + 2 * i);
        saved.Recent(t)[i] = tokens.Number(position + 2 * i + 1);
    }
    int32_t stored = tokens.Number(position + 2 * kTableLength);
    position += 2 * kTableLength + 1;
    if (stored == TableChecksum(saved, t)) {
        PrintTableMessage(t, " Loaded");
    } else {
        PrintTableMessage(t, " Checksum Invalid");
        for (int i = 0; i < kTableLength; i++) {
            saved.Best(t)[i] = 0;
            saved.Recent(t)[i] = 0;
        }
    }
    return true;
}

}  // namespace

std::string StateFile::BuildStateString() const {
    return BuildState(saved_);
}

// Section by section; a damaged section is reset alone.
void StateFile::ApplyStateString(StringView state) {
    const StateTokens tokens(state);
    long long position = 0;
    ApplySettings(saved_, tokens, position);
    ApplyBadges(saved_, tokens, position);
    for (int t = 0; t < kTables; t++) {
        if (!ApplyTable(saved_, t, tokens, position)) break;
    }
}

// Reads the state file once at start; a missing file reads as the empty string.
int StateFile::LoadSaves() {
    String state = platform_ ? platform_->ReadStateFile() : String();
    ApplyStateString(state);
    return 0;
}

// Writes every section; a failed write is left for the next save to retry.
int StateFile::SaveAll() {
    String state = Widen(BuildStateString());
    if (Globals().debugOverlay == 1) Print(state);
    if (platform_) platform_->WriteStateFile(state);
    return 0;
}
