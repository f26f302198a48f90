// "Brindle", our own little song: patterns for two drum tracks (kick/snare on
// kit A, hats and shaker on kit B), lead, accompaniment and bass, and the song
// sheet picture the music player reads them from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace songgen {

constexpr int kPatterns = 64;
constexpr int kTracks = 8;
constexpr int kSteps = 64;
constexpr int kFields = 8;
constexpr int kFrame = 64;              // one pattern is a 64×64 frame
constexpr int kSheetSize = 8 * kFrame;  // 8×8 frames

// Cell fields the player reads.
enum Field { kNote = 0, kVolume = 1, kEffect = 2, kParameter = 3 };

// Pattern data, laid out as the player holds it: values 0..31.
struct Song {
    std::vector<uint8_t> values = std::vector<uint8_t>(kPatterns * kTracks * kSteps * kFields, 0);
    uint8_t& At(int p, int t, int s, int f) {
        return values[((p * kTracks + t) * kSteps + s) * kFields + f];
    }
    uint8_t At(int p, int t, int s, int f) const {
        return values[((p * kTracks + t) * kSteps + s) * kFields + f];
    }
};

Song BuildSong();

// RGBA pixels of the song sheet: pixel (x, y) of frame p holds field x % 8 of
// track x / 8 at step y in the top five bits of blue; frames go row by row.
std::vector<uint8_t> SheetPixels(const Song& song);

// Writes the sheet as a PNG; false when the file cannot be written.
bool WriteSheet(const Song& song, const std::string& path);

}  // namespace songgen
