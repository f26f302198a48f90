#include "game/play/title_screen.h"

#include <algorithm>

#include "game/play/game_ids.h"
#include "game/play/sound_toggle.h"

namespace {

constexpr int kFrameSelected = 15;
constexpr int kStripWidth = 140;
constexpr float kListScale = 1.5f;
// The bitmap font's own line height, used until its geometry is known.
constexpr int kFontLineHeight = 10;
constexpr int kListLength = 10;
constexpr int kLastActionControl = 17;

struct Point {
    float x, y;
};

// Where difficulty button k (1..3) sits for slide offset s.
Point DifficultyButtonPosition(int k, bool landscape, float w, float h, int s) {
    if (landscape) {
        static constexpr float kX[] = {0.2f, 0.4f, 0.6f};
        static constexpr float kSlide[] = {8, 12, 10};
        return {kX[k - 1] * w, 0.7f * h - kSlide[k - 1] * s};
    }
    switch (k) {
        case 1:
            return {0.3f * w - 8.0f * s, 0.45f * h};
        case 2:
            return {0.3f * w, 0.65f * h - 12.0f * s};
        default:
            return {0.3f * w + 8.0f * s, 0.85f * h};
    }
}

// Header and one padded line per score; built in place, no heap.
TextBuffer ScoreListText(const char* header, const char* singleHeader, int lines,
                         const int32_t* scores) {
    TextBuffer text;
    if (lines == 1) {
        text.Append(singleHeader);
    } else {
        text.Append(header).AppendInt(lines);
    }
    for (int i = 0; i < lines; i++) {
        text.Append(u"\\n");
        text.Append(PadNumber(scores[i], 11, u" ").View());
    }
    return text;
}

// The background, the logo and the side strip behind the score lists.
void QueueBackdrop(float w, float h, int s, float stripX, Pen& pen) {
    pen.ResetState();
    pen.SetScale(3);
    pen.QueueImage(kImageMenu, w / 2, h / 2 + 16.0f * s, 0);
    pen.SetScale(1);
    pen.QueueImage(kImageLogo, 0.4f * w, 0.2f * h + 12.0f * s, 0);
    pen.SetColor(0, 0, 0, 0.4f);
    pen.QueueRect(stripX, 0, kStripWidth, h);
}

}  // namespace

// As many lines as fit the lower half of the strip, 1..10; hidden under the panel.
void TitleState::QueueScoreLists(const TitleView& view, float stripX, Frame& frame) {
    const float h = frame.screen.screenHeight;
    frame.pen.SetScale(kListScale);
    const int fontLine = view.fontLineHeight > 0 ? view.fontLineHeight : kFontLineHeight;
    const int lineHeight = static_cast<int>(fontLine * kListScale);
    listHeight = static_cast<int>(h - 90 - h / 2);
    lineCount = std::clamp(lineHeight > 0 ? listHeight / lineHeight : 1, 1, kListLength);
    if (view.creditsOpen) return;
    frame.pen.SetColor(255, 200, 100, 1);
    TextBuffer best = ScoreListText("Top ", "Highscore", lineCount, view.best);
    frame.pen.QueueText(stripX + 20, 60, best.View(), 0, 0);
    frame.pen.SetColor(200, 255, 100, 1);
    frame.pen.SetScale(kListScale);
    TextBuffer recent = ScoreListText("Last ", "Last", lineCount, view.recent);
    frame.pen.QueueText(stripX + 20, h / 2 + 20, recent.View(), 0, 0);
}

// A touch on a button starts the match at once; the chosen one is marked.
void TitleState::UpdateDifficultyButtons(bool panelClosed, TitleReport& report, Frame& frame) {
    Pen& pen = frame.pen;
    pen.ResetState();
    pen.SetScale(kListScale);
    pen.SetAlpha(1);
    const float w = frame.screen.screenWidth, h = frame.screen.screenHeight;
    for (int k = 1; k <= 3; k++) {
        Point p = DifficultyButtonPosition(k, frame.screen.landscape != 0, w, h, titleSlide);
        const bool touched = pen.QueueButton(kImageButtons, p.x, p.y, k - 1);
        if (panelClosed && frame.input.TakeTouch(touched)) {
            report.startMatch = true;
            frame.input.controlLatch = 1;
            difficulty = k;
            frame.sounds.Cue(kSfxClick, 1, 0.5f, 0);
        }
        if (difficulty == k) {
            pen.SetAlpha(0.75f);
            pen.QueueImage(kImageButtons, p.x, p.y, kFrameSelected);
            pen.SetAlpha(1);
        }
    }
    pen.ResetState();
}

// Directions step the difficulty, any action starts the match.
void TitleState::TakeControls(TitleReport& report, Frame& frame) {
    InputSnapshot& input = frame.input;
    const bool easier = input.Held(kControlUp) || input.Held(kControlLeft);
    const bool harder = input.Held(kControlRight) || input.Held(kControlDown);
    if (difficulty > 1 && TakePress(input.controlLatch, easier)) {
        difficulty--;
        frame.sounds.Cue(kSfxClick, 0.8f, 0.5f, 0);
    }
    if (difficulty < 3 && TakePress(input.controlLatch, harder)) {
        difficulty++;
        frame.sounds.Cue(kSfxClick, 1.2f, 0.5f, 0);
    }
    for (int code = kControlA; code <= kLastActionControl; code++) {
        if (!input.TakeControl(code)) continue;
        report.startMatch = true;
        input.pointerLatch = 1;
        frame.sounds.Cue(kSfxClick, 1, 0.5f, 0);
    }
}

TitleReport TitleState::Update(const TitleView& view, Frame& frame) {
    TitleReport report;
    const float w = frame.screen.screenWidth, h = frame.screen.screenHeight;
    const bool landscape = frame.screen.landscape != 0;
    frame.pen.Begin(0, 0, 80, 1);
    if (titleSlide < 0) titleSlide = static_cast<int>(titleSlide + 0.25f);
    const int s = titleSlide;
    const float stripX = w - kStripWidth - 4.0f * s;
    QueueBackdrop(w, h, s, stripX, frame.pen);

    // The sound toggle works even over the credits panel.
    frame.pen.ResetState();
    const float toggleX =
        landscape ? 32.0f + 4.0f * s : static_cast<float>(static_cast<int>(w / 2));
    const float toggleY =
        landscape ? static_cast<float>(static_cast<int>(h / 2)) : 32.0f + 4.0f * s;
    UpdateSoundToggle(frame, view.soundMode, toggleX, toggleY);

    QueueScoreLists(view, stripX, frame);
    UpdateDifficultyButtons(!view.creditsOpen, report, frame);
    if (!view.creditsOpen) TakeControls(report, frame);

    // The maker's logo opens the credits panel.
    frame.pen.ResetState();
    frame.pen.SetScale(0.5f);
    const bool logoTouched = frame.pen.QueueButton(kImageMakerLogo, w - 70, h - 40 - 4.0f * s, 0);
    if (!view.creditsOpen && frame.input.TakeTouch(logoTouched)) {
        frame.sounds.Cue(kSfxPanel, 1, 1, 0);
        report.openCredits = true;
    }
    return report;
}
