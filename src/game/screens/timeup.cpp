// End of a match: the "TIME UP" overlay with the rank the score would take,
// the hand-over to score recording, and the insertion into the tables.
#include <algorithm>
#include <array>

#include "game/screens/my_app.h"

namespace {

constexpr int kTimeUpLength = 90;  // updates of the overlay in a finished match
constexpr int kFadeStart = 75;     // where the fade over the title screen begins
constexpr int kFadeStep = 2;

constexpr std::array<StringView, 11> kRankLabels = {
    u"", u"1st!", u"2nd", u"3rd", u"4th", u"5th", u"6th", u"7th", u"8th", u"9th", u"10th",
};

}  // namespace

// Ranks `score` against the best list of the chosen difficulty; ties rank above.
StringView c_MyApp::RankLabel() {
    const int t = SavedData::TableFor(title.difficulty);
    timeUp.rankPosition = 0;
    const int32_t* best = saved.Best(t);
    for (int i = 0; i < SavedData::kTableLength; i++) {
        if (match.score >= best[i]) {
            timeUp.rankPosition = i + 1;
            break;
        }
    }
    return kRankLabels[timeUp.rankPosition];
}

int c_MyApp::DrawTimeUp() {
    const float w = screen.screenWidth;
    const float h = screen.screenHeight;
    const int k = timeUp.timeUpTimer;

    if (k > 0) {
        SetDrawColor(0, 0, 0, std::min(k / 40.0f, 0.7f));
        QueueRect(-1, -1, w + 2, h + 2);

        // Two strips growing from the edges toward each other.
        timeUp.bandHeight = std::min(12 * k, static_cast<int>(0.45f * h));
        const float b = static_cast<float>(timeUp.bandHeight);
        ResetDrawState();
        SetDrawColor(255, 255, 0, 0.5f);
        QueueRect(-1, 0.45f * h - 8, 2 * b, 16);
        SetDrawColor(255, 128, 0, 0.5f);
        QueueRect(w - 2 * b, 0.55f * h - 8, 2 * b + 1, 16);

        ResetDrawState();
        SetDrawScale(4);
        SetDrawColor(255, 180, 180, 1);
        QueueText(0.35f * w, b, u"TIME", 1, 1);
        QueueText(0.65f * w, h - b, u"UP", 1, 1);

        StringView label = RankLabel();
        if (timeUp.rankPosition > 0) {
            SetDrawScale(1);
            SetDrawColor(0, 125, 255, 0.5f);
            QueueRect(0.35f * w, h - b / 1.5f - 16, 0.3f * w, 32);
            SetDrawScale(2);
            SetDrawColor(100, 255, 100, 1);
            TextBuffer notice(u"New Highscore\\n           ");
            notice.Append(label);
            QueueText(0.5f * w, h - b / 1.5f, notice.View(), 0.5f, 2);
        }
    }

    // Grows during a finished match, then fades over the title screen.
    if (mode == kModeMatch) {
        timeUp.timeUpTimer++;
        if (timeUp.timeUpTimer >= kTimeUpLength) {
            mode = kModeRecord;
            timeUp.timeUpTimer = kFadeStart;
        }
    }
    if (mode < kModeMatch) timeUp.timeUpTimer = std::max(timeUp.timeUpTimer - kFadeStep, 0);
    return 0;
}

// Enters the score into the best list (only when strictly greater than an
// entry) and always at the head of the recent list, then saves.
int c_MyApp::RecordScore() {
    const int t = SavedData::TableFor(title.difficulty);
    constexpr int kTableLength = SavedData::kTableLength;
    int32_t* best = saved.Best(t);
    int32_t* recent = saved.Recent(t);

    for (int i = 0; i < kTableLength; i++) {
        if (match.score > best[i]) {
            std::copy_backward(best + i, best + kTableLength - 1, best + kTableLength);
            best[i] = match.score;
            break;
        }
    }
    std::copy_backward(recent, recent + kTableLength - 1, recent + kTableLength);
    recent[0] = match.score;

    SaveAll();
    return 0;
}
