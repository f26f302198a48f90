// The song itself, written in two small notations (drum grids and note
// lines), and its encoding into the song sheet picture.
#include "song.h"

#include <stb_image_write.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace songgen {
namespace {

enum Track { kKit = 0, kHats = 1, kLead = 2, kChords = 3, kBass = 4 };
constexpr int kEffectBreak = 8;
constexpr int kEffectSwitch = 27;
constexpr int kSlideDownSlow = 2;
constexpr int kCut = 31;  // a volume that silences the track

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "songgen: %s\n", message.c_str());
    std::exit(1);
}

void Put(Song& song, int p, int t, int s, int note, int volume) {
    song.At(p, t, s, kNote) = static_cast<uint8_t>(note);
    song.At(p, t, s, kVolume) = static_cast<uint8_t>(volume);
}

void Effect(Song& song, int p, int t, int s, int effect, int parameter) {
    song.At(p, t, s, kEffect) = static_cast<uint8_t>(effect);
    song.At(p, t, s, kParameter) = static_cast<uint8_t>(parameter);
}

// One drum hit per character: the drum note and its volume.
struct Hit {
    char symbol;
    int note;
    int volume;
};

// Kit A (warm): kick, snare, toms, clap. The player picks samples by note:
// 13 kick, 15 snare, 17/18 hats, 20/22 toms, 24/25 the kit's two extras.
constexpr Hit kKitHits[] = {{'K', 13, 30}, {'k', 13, 22}, {'S', 15, 28}, {'s', 15, 11},
                            {'L', 20, 26}, {'H', 22, 24}, {'C', 24, 24}};
// Kit B (bright): hats, knock, shaker.
constexpr Hit kHatHits[] = {{'X', 17, 20}, {'x', 17, 12}, {'o', 18, 16},
                            {'n', 24, 18}, {'z', 25, 9},  {'Z', 25, 15}};

// A 64-step drum grid; spaces and bars only help the eye, '.' is a rest.
template <size_t N>
void Drums(Song& song, int p, int t, const Hit (&kit)[N], std::string_view grid) {
    int s = 0;
    for (char c : grid) {
        if (c == ' ' || c == '|') continue;
        if (s >= kSteps) Fail("drum grid longer than 64 steps");
        if (c != '.') {
            const Hit* hit = nullptr;
            for (const Hit& h : kit)
                if (h.symbol == c) hit = &h;
            if (!hit) Fail(std::string("unknown drum '") + c + "'");
            Put(song, p, t, s, hit->note, hit->volume);
        }
        s++;
    }
    if (s != kSteps) Fail("drum grid shorter than 64 steps");
}

// Note number of a name like "c1", "f#0", "e2": c0 is 1, c1 (the sample's own
// pitch) is 13, up to f#2 = 31.
int NoteNumber(std::string_view name) {
    static constexpr std::string_view kLetters = "c d ef g a b";
    if (name.empty()) return 0;
    const size_t letter = kLetters.find(name[0]);
    if (letter == std::string_view::npos || name[0] == ' ') return 0;
    size_t at = 1;
    int semitone = static_cast<int>(letter);
    if (at < name.size() && name[at] == '#') semitone++, at++;
    if (at >= name.size() || !std::isdigit(static_cast<unsigned char>(name[at]))) return 0;
    const int note = (name[at] - '0') * 12 + semitone + 1;
    return note <= 31 ? note : 0;
}

// A 64-step note line, one token per step:
//   c1 e1! f#0  a note (a trailing ! accents it)
//   -           hold the note (its volume is renewed every 4 steps so it does not fade)
//   ~           hold and let the pitch sag (a slow slide down)
//   .           rest: the last note rings out and fades by itself
//   ^           cut the track at once
//   |           bar line, ignored
void Line(Song& song, int p, int t, int volume, std::string_view text) {
    std::istringstream in{std::string(text)};
    std::string token;
    int s = 0, held = 0;
    while (in >> token) {
        if (token == "|") continue;
        if (s >= kSteps) Fail("note line longer than 64 steps");
        if (token == "-" || token == "~") {
            if (++held % 4 == 0) song.At(p, t, s, kVolume) = static_cast<uint8_t>(volume);
            if (token == "~") Effect(song, p, t, s, kSlideDownSlow, 2);
        } else if (token == ".") {
            held = 0;
        } else if (token == "^") {
            song.At(p, t, s, kVolume) = kCut;
            held = 0;
        } else {
            const bool accent = token.back() == '!';
            if (accent) token.pop_back();
            const int note = NoteNumber(token);
            if (note == 0) Fail("bad note '" + token + "'");
            Put(song, p, t, s, note, accent ? std::min(30, volume + 4) : volume);
            held = 0;
        }
        s++;
    }
    if (s != kSteps) Fail("note line shorter than 64 steps");
}

// Kick and snare. Patterns 0 and 1 are a pair: the pattern switch makes them
// alternate within a section, so the fill lands on every second pattern.
void WriteKit(Song& song) {
    Drums(song, 0, kKit, kKitHits,
          "K.......S.......K.....k.S....... | K.......S.......K.....k.S.....s.");
    Drums(song, 1, kKit, kKitHits,
          "K.......S.......K.....k.S....... | K.......S.......K.k.H.H.L.L.S.SS");
    Effect(song, 0, kKit, 0, kEffectSwitch, 1);
    Effect(song, 1, kKit, 0, kEffectSwitch, 2);
    // Four on the floor with claps.
    Drums(song, 2, kKit, kKitHits,
          "K.......C.......K.......C....... | K.......C.......K.......C...k.C.");
    // A short turnaround: half a pattern, then everything moves on.
    Drums(song, 3, kKit, kKitHits,
          "K.......S.....k.K.......S.SSL.LL | ................................");
    Effect(song, 3, kKit, 31, kEffectBreak, 0);
}

void WriteHats(Song& song) {
    Drums(song, 0, kHats, kHatHits,
          "X.x.x.x.X.x.x.o.X.x.x.x.X.x.o.x. | X.x.x.x.X.x.x.o.X.x.x.x.X.x.o.n.");
    Drums(song, 1, kHats, kHatHits,
          "ZzzzZzzzZzzzZzzZZzzzZzzzZzzzZzzn | ZzzzZzzzZzzzZzzZZzzzZzzzZznnZzzz");
    Drums(song, 2, kHats, kHatHits,
          "..x...x...n...x...x...x...n..o.. | ..x...x...n...x...x...x...n.nn.o");
}

void WriteLead(Song& song) {
    Line(song, 0, kLead, 22,
         "e1 - - - g1 - a1 - | c2! - - - a1 - g1 - | e1 - - - d1 - c1 - | d1 - - - - - ~ ~ "
         "| e1 - - - g1 - a1 - | c2! - - - d2 - e2 - | d2 - - - c2 - a1 - | c2 - - - - - ~ ~");
    Line(song, 1, kLead, 22,
         "a1 - - - g1 - e1 - | g1 - - - - - e1 - | d1 - - - c1 - d1 - | e1 - - - - - ~ ~ "
         "| a1 - - - c2 - d2 - | e2! - d2 - c2 - a1 - | g1 - - - e1 - d1 - | c1 - - - - - . .");
    Line(song, 2, kLead, 20,
         "c2 . . . . . . . | . . . . g1 . a1 . | c2 . . . . . d2 . | e2 . d2 . c2 . . . "
         "| a1 . . . . . . . | . . . . g1 . e1 . | g1 . . . . . a1 . | g1 - - - ~ ~ ^ .");
}

// The organ plays one voice, so its chords are broken into arpeggios.
void WriteChords(Song& song) {
    Line(song, 0, kChords, 13,
         "c1 . . . e1 . . . g1 . . . e1 . . . | c1 . . . e1 . . . g1 . . . c2 . . . "
         "| a0 . . . c1 . . . e1 . . . c1 . . . | g0 . . . b0 . . . d1 . . . g1 . . .");
    Line(song, 1, kChords, 12,
         ". . . . g1 - . . . . . . e1 - . . | . . . . g1 - . . . . . . c2 - . . "
         "| . . . . a1 - . . . . . . e1 - . . | . . . . g1 - . . . . . . d1 - . .");
    Line(song, 2, kChords, 11,
         "g1 - - - - - - - - - - - - - - - | e1 - - - - - - - - - - - - - - - "
         "| a1 - - - - - - - - - - - - - - - | g1 - - - - - - - - - - - - - ~ ~");
}

void WriteBass(Song& song) {
    Line(song, 0, kBass, 26,
         "c1 - - . c1 - c2 - | c1 - - . c1 - c2 - | c1 - - . c1 - c2 - | g0 - - . a0 - b0 - "
         "| c1 - - . c1 - c2 - | c1 - - . c1 - c2 - | a0 - - . a0 - a1 - | g0 - - . g0 - b0 -");
    Line(song, 1, kBass, 25,
         "c1 - - - - - - - | e1 - - - - - - - | g1 - - - - - - - | a1 - - - g1 - - - "
         "| f1 - - - - - - - | e1 - - - - - - - | d1 - - - - - - - | g0 - - - b0 - - -");
    Line(song, 2, kBass, 26,
         "c1 - . c1 . . c1 - | . . g0 - . . a0 - | c1 - . c1 . . c1 - | . . e1 - . . g1 - "
         "| a0 - . a0 . . a0 - | . . e1 - . . g0 - | c1 - . c1 . . c1 - | . . g0 - . . c1 -");
}

}  // namespace

Song BuildSong() {
    Song song;
    WriteKit(song);
    WriteHats(song);
    WriteLead(song);
    WriteChords(song);
    WriteBass(song);
    return song;
}

std::vector<uint8_t> SheetPixels(const Song& song) {
    std::vector<uint8_t> rgba(size_t{kSheetSize} * kSheetSize * 4, 0);
    for (int p = 0; p < kPatterns; p++) {
        const int left = (p % 8) * kFrame, top = (p / 8) * kFrame;
        for (int y = 0; y < kFrame; y++) {
            for (int x = 0; x < kFrame; x++) {
                const int t = x / 8, f = x % 8;
                const int value = song.At(p, t, y, f);
                const bool struck = song.At(p, t, y, kNote) != 0;
                const bool used = value != 0 || struck;
                uint8_t* px = &rgba[(size_t(top + y) * kSheetSize + left + x) * 4];
                // Red and green carry no data: a tracker-like view with a warm
                // tint per track where notes are struck, and a faint beat grid.
                const int grid = (y % 8 == 0 ? 14 : 0) + (f == 0 ? 8 : 0);
                px[0] = static_cast<uint8_t>(struck ? 255 - t * 20 : used ? 120 : 16 + grid);
                px[1] = static_cast<uint8_t>(struck ? 140 + t * 25 : used ? 90 : 18 + grid);
                px[2] = static_cast<uint8_t>(value << 3);
                px[3] = 255;
            }
        }
    }
    return rgba;
}

bool WriteSheet(const Song& song, const std::string& path) {
    const std::vector<uint8_t> rgba = SheetPixels(song);
    return stbi_write_png(path.c_str(), kSheetSize, kSheetSize, 4, rgba.data(), kSheetSize * 4) !=
           0;
}

}  // namespace songgen
