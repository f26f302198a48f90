// The pause icon and the pause panel. Every paused update measures the time
// since the last one, so the core can push it out of the match clock.
#include "game/play/pause.h"

#include <algorithm>
#include <cmath>

#include "game/play/game_ids.h"
#include "game/play/sound_toggle.h"

namespace {

constexpr int kPanelStep = 24;
constexpr int kPanelHidden = -64;

// Selections made with the controls.
enum PanelChoice { kChoiceQuit = -1, kChoiceResume = 0, kChoiceSound = 1 };

struct Point {
    float x, y;
};

// The menu click, pitched to tell the actions apart.
void Click(Frame& f, float rate) {
    f.sounds.Cue(kSfxClick, rate, 0.5f, 0);
}

// Opens the panel from the match.
void OpenPanel(PausePanel& p, Frame& f) {
    p.paused = 1;
    p.panelDirection = 1;
    p.panelChoice = kChoiceResume;
    Click(f, 1);
}

// Starts the panel sliding away; the match resumes once it has left.
void ClosePanel(PausePanel& p, Frame& f) {
    p.paused = 1;
    p.panelDirection = -1;
    Click(f, 1);
}

// Hides the panel at once and reports the quit; the core ends the match.
void QuitMatch(PausePanel& p, Frame& f, PauseReport& report) {
    p.paused = 0;
    p.panelDirection = -1;
    p.panelY = kPanelHidden;
    report.quit = true;
    // Whichever way it came, the quit consumes the pointer too: a press held
    // from the panel must not act on the game-over screen behind it.
    f.input.pointerLatch = 1;
    Click(f, 0.5f);
}

// Where the quit (side -1) and sound (side 1) buttons sit for the screen's
// shape. Only the quit button is put on whole units.
Point SideButton(const PausePanel& p, const ScreenFit& screen, int side) {
    float w = screen.screenWidth;
    float dx = screen.landscape == 1 ? 140.0f : 96.0f;
    float dy = screen.landscape == 1 ? 64.0f : 96.0f;
    Point q{w / 2 + side * dx, p.panelY - dy};
    if (side < 0) q = {std::trunc(q.x), std::trunc(q.y)};
    return q;
}

// The yellow selection ring around a button.
void QueueRing(Pen& pen, Point at) {
    pen.SetScale(2.5f);
    pen.SetColor(255, 255, 100, 1);
    pen.QueueImage(kImageIcons, at.x, at.y, kIconRing);
}

// The play field darkens as the panel comes down.
void DrawVeil(const PausePanel& p, Frame& f) {
    float w = f.screen.screenWidth, h = f.screen.screenHeight;
    float alpha = std::abs(static_cast<float>(p.panelY)) / (h * 0.8f);
    f.pen.ResetState();
    // A degenerate (tiny or empty) screen must not push the alpha past opaque.
    f.pen.SetColor(0, 0, 0, std::isfinite(alpha) ? std::clamp(alpha, 0.0f, 1.0f) : 1.0f);
    f.pen.QueueRect(0, 0, w, h);
}

// The panel slides down to mid-screen, or up and away.
void MovePanel(PausePanel& p, const ScreenFit& screen) {
    float h = screen.screenHeight;
    if (p.panelDirection == 1 && p.panelY < h * 0.5f) p.panelY += kPanelStep;
    if (p.panelDirection == -1) {
        if (p.panelY > kPanelHidden) p.panelY -= kPanelStep;
        if (p.panelY < -32) p.paused = 0;
    }
}

// The panel's body and its two stripes.
void DrawPanelBody(const PausePanel& p, Frame& f) {
    float cx = f.screen.screenWidth / 2, y = static_cast<float>(p.panelY);
    bool wide = f.screen.landscape == 1;
    Pen& pen = f.pen;
    pen.ResetState();
    pen.SetColor(255, 255, 10, 0.6f);
    wide ? pen.QueueRect(cx - 128, y - 64, 256, 8) : pen.QueueRect(cx - 96, y - 92, 192, 8);
    pen.SetColor(255, 150, 10, 0.7f);
    wide ? pen.QueueRect(cx - 140, y - 52, 280, 104) : pen.QueueRect(cx - 128, y - 80, 256, 160);
    pen.SetColor(10, 150, 255, 0.6f);
    wide ? pen.QueueRect(cx - 128, y + 56, 256, 8) : pen.QueueRect(cx - 96, y + 84, 192, 8);
}

// The resume button and its control selection.
void UpdateResumeButton(PausePanel& p, Frame& f) {
    Point at{f.screen.screenWidth / 2, static_cast<float>(p.panelY)};
    f.pen.SetScale(2);
    f.pen.SetColor(50, 50, 250, 1);
    if (f.input.TakeTouch(f.pen.QueueButton(kImageIcons, at.x, at.y, kIconResume)))
        ClosePanel(p, f);
    if (p.panelChoice != kChoiceResume) return;
    QueueRing(f.pen, at);
    InputSnapshot& in = f.input;
    if (in.TakeControl(kControlA)) {
        ClosePanel(p, f);
    } else if (in.TakeControl(kControlLeft) || in.TakeControl(kControlUp)) {
        p.panelChoice = kChoiceQuit;
        Click(f, 0.8f);
    } else if (in.TakeControl(kControlRight)) {
        p.panelChoice = kChoiceSound;
        Click(f, 1.2f);
    }
}

// The quit button and its control selection.
void UpdateQuitButton(PausePanel& p, Frame& f, PauseReport& report) {
    Point at = SideButton(p, f.screen, -1);
    f.pen.SetScale(2);
    f.pen.SetColor(255, 50, 50, 1);
    if (f.input.TakeTouch(f.pen.QueueButton(kImageIcons, at.x, at.y, kIconQuit)))
        QuitMatch(p, f, report);
    if (p.panelChoice != kChoiceQuit) return;
    QueueRing(f.pen, at);
    InputSnapshot& in = f.input;
    if (in.TakeControl(kControlA)) {
        QuitMatch(p, f, report);
    } else if (in.TakeControl(kControlRight) || in.TakeControl(kControlDown)) {
        p.panelChoice = kChoiceResume;
        Click(f, 0.8f);
    }
}

// The sound button; touch toggles on/off, action A cycles all four modes.
void UpdateSoundButton(PausePanel& p, int32_t& soundMode, Frame& f) {
    Point at = SideButton(p, f.screen, 1);
    UpdateSoundToggle(f, soundMode, at.x, at.y);
    if (p.panelChoice != kChoiceSound) return;
    QueueRing(f.pen, at);
    InputSnapshot& in = f.input;
    if (in.TakeControl(kControlA)) {
        soundMode = ((soundMode + 1) % 4 + 4) % 4;  // stays in 0..3 even from a stray value
        Click(f, 1);
    } else if (in.TakeControl(kControlLeft) || in.TakeControl(kControlDown)) {
        p.panelChoice = kChoiceResume;
        Click(f, 0.8f);
    }
}

// The panel itself, while paused.
void UpdatePanel(PausePanel& p, int32_t& soundMode, Frame& f, PauseReport& report) {
    report.clockShiftMs = p.TakePausedTime(f.nowMs);
    DrawVeil(p, f);
    MovePanel(p, f.screen);
    DrawPanelBody(p, f);
    UpdateResumeButton(p, f);
    UpdateQuitButton(p, f, report);
    UpdateSoundButton(p, soundMode, f);
    if (f.input.TakeControl(kControlBack)) ClosePanel(p, f);
}

}  // namespace

void PausePanel::StartMeasuring(int nowMs) {
    if (pauseStamp == kNone) pauseStamp = nowMs;
}

// The first paused update only starts the measure.
int PausePanel::TakePausedTime(int nowMs) {
    int shift = pauseStamp != kNone ? nowMs - pauseStamp : 0;
    pauseStamp = nowMs;
    return shift;
}

PauseReport PausePanel::Update(int32_t& soundMode, Frame& f) {
    PauseReport report;
    f.pen.ResetState();
    if (paused == 0 && f.input.TakeControl(kControlBack)) OpenPanel(*this, f);
    // The icon answers to any touch, latched or not, while the match runs.
    if (f.pen.QueueButton(kImageIcons, 16, 16, kIconPause) && paused == 0) {
        f.input.pointerLatch = 1;
        OpenPanel(*this, f);
    }
    if (paused == 1) UpdatePanel(*this, soundMode, f, report);
    if (paused == 0) pauseStamp = kNone;
    return report;
}
