// The player's fixed tables: note rates, the keyboard-as-piano keys and the
// chord progressions.
#include <array>

#include "music/tune_player.h"

namespace {

// Equal-tempered ratios; note 13 is the sample's own pitch.
constexpr std::array<float, 32> kNoteRatios = {
    0.5f,   0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f, 0.7935f, 0.841f, 0.891f,
    0.944f, 1.0f,    1.059f, 1.122f,  1.189f, 1.26f,   1.335f, 1.414f, 1.498f,  1.587f, 1.682f,
    1.782f, 1.888f,  2.0f,   2.118f,  2.244f, 2.378f,  2.52f,  2.67f,  2.828f,  2.996f};

// The two lower keyboard rows, then the two upper rows: notes 1 to 32.
constexpr std::u16string_view kPianoKeys = u"zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";

constexpr std::array<std::u16string_view, 6> kProgressions = {u"qqqq", u"qqjj", u"qqbb",
                                                              u"qbqb", u"qqqj", u"qqzz"};

}  // namespace

float c_TunePlayer::NoteRatio(int n) {
    if (n < 1 || n > static_cast<int>(kNoteRatios.size())) return 0;
    return kNoteRatios[n - 1];
}

float c_TunePlayer::KeyRatio(char16_t c) {
    const size_t at = kPianoKeys.find(c);
    if (at == std::u16string_view::npos) return 0;
    return NoteRatio(static_cast<int>(at) + 1);
}

String c_TunePlayer::ProgressionFor(int type) {
    if (type < 0 || type >= static_cast<int>(kProgressions.size())) return String(kProgressions[1]);
    return String(kProgressions[type]);
}
