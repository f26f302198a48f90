// The title screen: background and logo sliding into place, the sound toggle,
// the score lists of the chosen difficulty, the difficulty buttons and the
// maker's logo that opens the credits. Every action is one per press.
#include <algorithm>

#include "game/play/sound_toggle.h"
#include "game/screens/my_app.h"

namespace {

constexpr int kFrameSelected = 15;
constexpr int kStripWidth = 140;
constexpr float kListScale = 1.5f;
// The bitmap font's own line height, used until its geometry is known.
constexpr int kFontLineHeight = 10;

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
        text.Append(c_MyApp::PadNumber(scores[i], 11, u" ").View());
    }
    return text;
}

}  // namespace

int c_MyApp::DrawTitleScreen() {
    const float w = screen.screenWidth;
    const float h = screen.screenHeight;
    const bool panelClosed = credits.menuPanelOpen == 0;

    BeginDrawList(0, 0, 80, 1);
    if (title.titleSlide < 0) title.titleSlide = static_cast<int>(title.titleSlide + 0.25f);
    const int s = title.titleSlide;

    // Background and logo.
    ResetDrawState();
    SetDrawScale(3);
    QueueImage(kImageMenu, w / 2, h / 2 + 16.0f * s, 0);
    SetDrawScale(1);
    QueueImage(kImageLogo, 0.4f * w, 0.2f * h + 12.0f * s, 0);

    // Side strip behind the score lists.
    const float stripX = w - kStripWidth - 4.0f * s;
    SetDrawColor(0, 0, 0, 0.4f);
    QueueRect(stripX, 0, kStripWidth, h);

    // Sound toggle: works even over the credits panel.
    ResetDrawState();
    const float toggleX =
        screen.landscape ? 32.0f + 4.0f * s : static_cast<float>(static_cast<int>(w / 2));
    const float toggleY =
        screen.landscape ? static_cast<float>(static_cast<int>(h / 2)) : 32.0f + 4.0f * s;
    UpdateSoundToggle(PlayFrame(), saved.SoundMode(), toggleX, toggleY);

    // Score lists of the chosen difficulty.
    SetDrawScale(kListScale);
    const int fontLineHeight = media.Geometry(media.currentFont, 1);
    const int lineHeight = static_cast<int>(
        (fontLineHeight > 0 ? fontLineHeight : kFontLineHeight) * drawList.drawScaleY);
    title.listHeight = static_cast<int>(h - 90 - h / 2);
    title.lineCount =
        std::clamp(lineHeight > 0 ? title.listHeight / lineHeight : 1, 1, SavedData::kTableLength);
    if (panelClosed) {
        const int t = SavedData::TableFor(title.difficulty);
        SetDrawColor(255, 200, 100, 1);
        TextBuffer best = ScoreListText("Top ", "Highscore", title.lineCount, saved.Best(t));
        QueueText(stripX + 20, 60, best.View(), 0, 0);
        SetDrawColor(200, 255, 100, 1);
        SetDrawScale(kListScale);
        TextBuffer recent = ScoreListText("Last ", "Last", title.lineCount, saved.Recent(t));
        QueueText(stripX + 20, h / 2 + 20, recent.View(), 0, 0);
    }

    // Difficulty buttons; a touch starts the match at once.
    ResetDrawState();
    SetDrawScale(kListScale);
    SetDrawAlpha(1);
    for (int k = 1; k <= 3; k++) {
        Point p = DifficultyButtonPosition(k, screen.landscape != 0, w, h, s);
        const bool touched = QueueButton(kImageButtons, p.x, p.y, k - 1) != 0;
        if (panelClosed && input.TakeTouch(touched)) {
            mode = kModeStartMatch;
            input.controlLatch = 1;
            title.difficulty = k;
            PlaySfx(kSfxClick, 1, 0.5f, 0);
        }
        if (title.difficulty == k) {
            SetDrawAlpha(0.75f);
            QueueImage(kImageButtons, p.x, p.y, kFrameSelected);
            SetDrawAlpha(1);
        }
    }
    ResetDrawState();

    // Controls: directions step the difficulty, any action starts the match.
    if (panelClosed) {
        const bool easier = input.Held(kControlUp) || input.Held(kControlLeft);
        const bool harder = input.Held(kControlRight) || input.Held(kControlDown);
        if (title.difficulty > 1 && TakePress(input.controlLatch, easier)) {
            title.difficulty--;
            PlaySfx(kSfxClick, 0.8f, 0.5f, 0);
        }
        if (title.difficulty < 3 && TakePress(input.controlLatch, harder)) {
            title.difficulty++;
            PlaySfx(kSfxClick, 1.2f, 0.5f, 0);
        }
        for (int code = kControlA; code <= 17; code++) {
            if (!input.TakeControl(code)) continue;
            mode = kModeStartMatch;
            input.pointerLatch = 1;
            PlaySfx(kSfxClick, 1, 0.5f, 0);
        }
    }

    // The maker's logo opens the credits panel.
    ResetDrawState();
    SetDrawScale(0.5f);
    const bool logoTouched = QueueButton(kImageMakerLogo, w - 70, h - 40 - 4.0f * s, 0) != 0;
    if (credits.menuPanelOpen == 0 && input.TakeTouch(logoTouched)) {
        PlaySfx(kSfxPanel, 1, 1, 0);
        credits.menuPanelOpen = 1;
    }
    return 0;
}
