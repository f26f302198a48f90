// Loading: instrument samples and the song sheet, one step per call, spread
// over renders because the patterns are decoded by drawing them.
#include <algorithm>
#include <array>

#include "audio/audio.h"
#include "graphics/context.h"
#include "graphics/image.h"
#include "music/tune_player.h"
#include "platform/platform_game.h"

namespace {

constexpr int kCell = 64;             // a pattern's frame: 8 tracks × 8 fields by 64 steps
constexpr int kPatterns = 64;         // frames asked of the sheet
constexpr int kLastLoadCounter = 70;  // the sequence runs 1..70
constexpr int kFirstPatternCounter = 5;
constexpr int kDecodedPatterns = 63;  // frames 0..62; pattern 63 stays empty

String DrumName(int kit, int index) {
    return u"inst/d" + IntToString(kit) + u"-" + IntToString(index) + u".wav";
}

String InstrumentName(StringView kind, int kit) {
    return u"inst/" + String(kind) + IntToString(kit) + u".wav";
}

// The sheet cut into as many 64×64 cells as it holds (at most 64), so a small
// picture gives fewer patterns instead of ending the program.
std::shared_ptr<c_Image> OpenSheet(StringView path) {
    std::shared_ptr<c_Image> whole = OpenImage(path, 1, 0);
    if (!whole) return nullptr;
    const int cells = std::min(kPatterns, (whole->width / kCell) * (whole->height / kCell));
    if (cells < 1) return nullptr;
    return whole->CutImage(0, 0, kCell, kCell, cells, CentreHandle);
}

}  // namespace

int c_TunePlayer::LoadStep() {
    const int c = loadCounter;
    if (c >= 2 && c <= 9) {
        drumsA[c - 1] = OpenSound(DrumName(kits[1], c - 1));
    } else if (c >= 12 && c <= 19) {
        drumsB[c - 11] = OpenSound(DrumName(kits[2], c - 11));
    } else if (c == 21) {
        instruments[2] = OpenSound(InstrumentName(u"lead", kits[3]));
    } else if (c == 22) {
        instruments[3] = OpenSound(InstrumentName(u"accompany", kits[4]));
    } else if (c == 23) {
        instruments[4] = OpenSound(InstrumentName(u"bass", kits[5]));
    }
    if (c == 1) sheet = OpenSheet(sheetPath);
    const int p = c - kFirstPatternCounter;
    if (sheet && p >= 0 && p < kDecodedPatterns && p < sheet->FrameCount()) DecodePattern(p);

    loadCounter += 1;
    nextStepTime = Now() + 100;
    if (loadCounter > kLastLoadCounter) loadCounter = 0;
    return 0;
}

// Draws frame p over a dark square and reads the pattern back from the top
// five bits of each pixel's blue byte.
void c_TunePlayer::DecodePattern(int p) {
    Clear(1, 0, 0);
    SetAlpha(1);
    SetColor(1, 0, 0);
    DrawRect(0, 0, kCell, kCell);
    SetColor(255, 255, 255);
    PaintImage(sheet.get(), kCell / 2, kCell / 2, p);

    std::array<int32_t, kCell * kCell> pixels{};
    ReadPixels(pixels, 0, 0, kCell, kCell, 0, kCell);
    for (int y = 0; y < kCell; y++) {
        for (int t = 0; t < 8; t++) {
            for (int f = 0; f < 8; f++) {
                const int value = (pixels[y * kCell + t * 8 + f] >> 3) & 31;
                song[SongIndex(p, t, y, f)] = value;
                if (value != 0) lastPattern[t] = p;
            }
        }
    }
}

int c_TunePlayer::RenderLoading() {
    if (loadCounter <= 0) return 0;
    for (int i = 0; i < 3 && loadCounter != 0; i++) LoadStep();
    // The decoding draws must never reach the screen.
    Clear(0, 0, 0);
    return 0;
}
