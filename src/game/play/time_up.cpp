#include "game/play/time_up.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kTableLength = 10;

constexpr std::array<StringView, 11> kRankLabels = {
    u"", u"1st!", u"2nd", u"3rd", u"4th", u"5th", u"6th", u"7th", u"8th", u"9th", u"10th",
};

}  // namespace

int RankOf(int score, const int32_t* best) {
    for (int i = 0; i < kTableLength; i++) {
        if (score >= best[i]) return i + 1;
    }
    return 0;
}

StringView RankLabel(int rank) {
    if (rank < 0 || rank >= static_cast<int>(kRankLabels.size())) return kRankLabels[0];
    return kRankLabels[static_cast<size_t>(rank)];
}

void EnterScore(int score, int32_t* best, int32_t* recent) {
    for (int i = 0; i < kTableLength; i++) {
        if (score > best[i]) {
            std::copy_backward(best + i, best + kTableLength - 1, best + kTableLength);
            best[i] = score;
            break;
        }
    }
    std::copy_backward(recent, recent + kTableLength - 1, recent + kTableLength);
    recent[0] = score;
}

TimeUpReport TimeUpState::Update(bool matchShown, int score, const int32_t* best, Frame& frame) {
    TimeUpReport report;
    if (timeUpTimer > 0) {
        bandHeight =
            std::min(12 * timeUpTimer, static_cast<int>(0.45f * frame.screen.screenHeight));
        rankPosition = RankOf(score, best);
        Draw(frame);
    }
    if (matchShown && ++timeUpTimer >= kLength) {
        report.finished = true;
        timeUpTimer = kFadeStart;
    }
    // The fade begins in the very update the overlay finishes.
    if (!matchShown || report.finished) timeUpTimer = std::max(timeUpTimer - kFadeStep, 0);
    return report;
}

void TimeUpState::Draw(Frame& frame) const {
    if (timeUpTimer <= 0) return;
    const float w = frame.screen.screenWidth, h = frame.screen.screenHeight;
    Pen& pen = frame.pen;
    pen.SetColor(0, 0, 0, std::min(timeUpTimer / 40.0f, 0.7f));
    pen.QueueRect(-1, -1, w + 2, h + 2);

    // Two strips growing from the edges toward each other.
    const float b = static_cast<float>(bandHeight);
    pen.ResetState();
    pen.SetColor(255, 255, 0, 0.5f);
    pen.QueueRect(-1, 0.45f * h - 8, 2 * b, 16);
    pen.SetColor(255, 128, 0, 0.5f);
    pen.QueueRect(w - 2 * b, 0.55f * h - 8, 2 * b + 1, 16);

    pen.ResetState();
    pen.SetScale(4);
    pen.SetColor(255, 180, 180, 1);
    pen.QueueText(0.35f * w, b, u"TIME", 1, 1);
    pen.QueueText(0.65f * w, h - b, u"UP", 1, 1);
    if (rankPosition == 0) return;
    pen.SetScale(1);
    pen.SetColor(0, 125, 255, 0.5f);
    pen.QueueRect(0.35f * w, h - b / 1.5f - 16, 0.3f * w, 32);
    pen.SetScale(2);
    pen.SetColor(100, 255, 100, 1);
    TextBuffer notice(u"New Highscore\\n           ");
    notice.Append(RankLabel(rankPosition));
    pen.QueueText(0.5f * w, h - b / 1.5f, notice.View(), 0.5f, 2);
}
