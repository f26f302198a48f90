// The pause icon and the pause panel: quit, resume and sound, worked with the
// pointer or the controls. Paused time is pushed out of the match clock.
#include <algorithm>
#include <cmath>

#include "game/game_core.h"
#include "platform/platform_game.h"

namespace {

constexpr int kPanelStep = 24;
constexpr int kPanelHidden = -64;

// Frames of the icon sheet.
enum IconFrame {
    kFramePause = 0,
    kFrameQuit = 1,
    kFrameResume = 3,
    kFrameSoundOn = 4,
    kFrameSoundOff = 5,
    kFrameRing = 6
};

// Selections made with the controls.
enum PanelChoice { kChoiceQuit = -1, kChoiceResume = 0, kChoiceSound = 1 };

struct Point {
    float x, y;
};

// The menu click, pitched to tell the actions apart.
void Click(c_GameCore& app, float rate) {
    app.PlaySfx(kSfxClick, rate, 0.5f, 0);
}

// Opens the panel from the match.
void OpenPanel(c_GameCore& app) {
    app.pause.paused = 1;
    app.pause.panelDirection = 1;
    app.pause.panelChoice = kChoiceResume;
    Click(app, 1);
}

// Starts the panel sliding away; the match resumes once it has left.
void ClosePanel(c_GameCore& app) {
    app.pause.paused = 1;
    app.pause.panelDirection = -1;
    Click(app, 1);
}

// Ends the match with the score so far, as if the time were up.
void QuitMatch(c_GameCore& app) {
    app.pause.paused = 0;
    app.pause.panelDirection = -1;
    app.pause.panelY = kPanelHidden;
    // The hand empties and the countdown falls silent, as at a real time-up.
    app.EndMatch();
    app.match.tickThreshold = -10;
    // Whichever way it came, the quit consumes the pointer too: a press held
    // from the panel must not act on the game-over screen behind it.
    app.input.pointerLatch = 1;
    Click(app, 0.5f);
}

// Where the quit (side -1) and sound (side 1) buttons sit for the screen's
// shape. Only the quit button is put on whole units.
Point SideButton(const c_GameCore& app, int side) {
    float w = app.screen.screenWidth;
    float dx = app.screen.landscape == 1 ? 140.0f : 96.0f;
    float dy = app.screen.landscape == 1 ? 64.0f : 96.0f;
    Point p{w / 2 + side * dx, app.pause.panelY - dy};
    if (side < 0) p = {std::trunc(p.x), std::trunc(p.y)};
    return p;
}

// The yellow selection ring around a button.
void QueueRing(c_GameCore& app, Point p) {
    app.SetDrawScale(2.5f);
    app.SetDrawColor(255, 255, 100, 1);
    app.QueueImage(kImageIcons, p.x, p.y, kFrameRing);
}

// A fresh control press, consumed.
bool ControlPressed(c_GameCore& app, int code) {
    if (app.input.controlLatch != 0 || !app.ControlDown(code)) return false;
    app.input.controlLatch = 1;
    return true;
}

// A fresh touch on a button, consumed.
bool TouchPressed(c_GameCore& app, bool touched) {
    if (!touched || app.input.pointerLatch != 0) return false;
    app.input.pointerLatch = 1;
    return true;
}

// Every paused update pushes the match start past the time it took.
void ShiftClock(c_GameCore& app) {
    int now = app.NowMs();
    if (app.pause.pauseStamp != kNone) app.match.matchStart += now - app.pause.pauseStamp;
    app.pause.pauseStamp = now;
}

// The play field darkens as the panel comes down.
void DrawVeil(c_GameCore& app) {
    float w = app.screen.screenWidth, h = app.screen.screenHeight;
    float alpha = std::abs(static_cast<float>(app.pause.panelY)) / (h * 0.8f);
    app.ResetDrawState();
    // A degenerate (tiny or empty) screen must not push the alpha past opaque.
    app.SetDrawColor(0, 0, 0, std::isfinite(alpha) ? std::clamp(alpha, 0.0f, 1.0f) : 1.0f);
    app.QueueRect(0, 0, w, h);
}

// The panel slides down to mid-screen, or up and away.
void MovePanel(c_GameCore& app) {
    float h = app.screen.screenHeight;
    if (app.pause.panelDirection == 1 && app.pause.panelY < h * 0.5f)
        app.pause.panelY += kPanelStep;
    if (app.pause.panelDirection == -1) {
        if (app.pause.panelY > kPanelHidden) app.pause.panelY -= kPanelStep;
        if (app.pause.panelY < -32) app.pause.paused = 0;
    }
}

// The panel's body and its two stripes.
void DrawPanelBody(c_GameCore& app) {
    float cx = app.screen.screenWidth / 2, y = static_cast<float>(app.pause.panelY);
    bool wide = app.screen.landscape == 1;
    app.ResetDrawState();
    app.SetDrawColor(255, 255, 10, 0.6f);
    wide ? app.QueueRect(cx - 128, y - 64, 256, 8) : app.QueueRect(cx - 96, y - 92, 192, 8);
    app.SetDrawColor(255, 150, 10, 0.7f);
    wide ? app.QueueRect(cx - 140, y - 52, 280, 104) : app.QueueRect(cx - 128, y - 80, 256, 160);
    app.SetDrawColor(10, 150, 255, 0.6f);
    wide ? app.QueueRect(cx - 128, y + 56, 256, 8) : app.QueueRect(cx - 96, y + 84, 192, 8);
}

// The resume button and its control selection.
void UpdateResumeButton(c_GameCore& app) {
    Point p{app.screen.screenWidth / 2, static_cast<float>(app.pause.panelY)};
    app.SetDrawScale(2);
    app.SetDrawColor(50, 50, 250, 1);
    if (TouchPressed(app, app.QueueButton(kImageIcons, p.x, p.y, kFrameResume))) ClosePanel(app);
    if (app.pause.panelChoice != kChoiceResume) return;
    QueueRing(app, p);
    if (ControlPressed(app, kControlA)) {
        ClosePanel(app);
    } else if (ControlPressed(app, kControlLeft) || ControlPressed(app, kControlUp)) {
        app.pause.panelChoice = kChoiceQuit;
        Click(app, 0.8f);
    } else if (ControlPressed(app, kControlRight)) {
        app.pause.panelChoice = kChoiceSound;
        Click(app, 1.2f);
    }
}

// The quit button and its control selection.
void UpdateQuitButton(c_GameCore& app) {
    Point q = SideButton(app, -1);
    app.SetDrawScale(2);
    app.SetDrawColor(255, 50, 50, 1);
    if (TouchPressed(app, app.QueueButton(kImageIcons, q.x, q.y, kFrameQuit))) QuitMatch(app);
    if (app.pause.panelChoice != kChoiceQuit) return;
    QueueRing(app, q);
    if (ControlPressed(app, kControlA)) {
        QuitMatch(app);
    } else if (ControlPressed(app, kControlRight) || ControlPressed(app, kControlDown)) {
        app.pause.panelChoice = kChoiceResume;
        Click(app, 0.8f);
    }
}

// The sound button; touch toggles on/off, action A cycles all four modes.
void UpdateSoundButton(c_GameCore& app) {
    int& soundMode = app.saved.SoundMode();
    Point s = SideButton(app, 1);
    app.SetDrawScale(2);
    app.SetDrawColor(50, 250, 50, 1);
    int frame = soundMode == 0 ? kFrameSoundOff : kFrameSoundOn;
    if (TouchPressed(app, app.QueueButton(kImageIcons, s.x, s.y, frame))) {
        soundMode = 1 - soundMode;
        if (soundMode < 0 || soundMode > 1) soundMode = 0;
        Click(app, 1);
    }
    if (app.pause.panelChoice != kChoiceSound) return;
    QueueRing(app, s);
    if (ControlPressed(app, kControlA)) {
        soundMode = ((soundMode + 1) % 4 + 4) % 4;  // stays in 0..3 even from a stray value
        Click(app, 1);
    } else if (ControlPressed(app, kControlLeft) || ControlPressed(app, kControlDown)) {
        app.pause.panelChoice = kChoiceResume;
        Click(app, 0.8f);
    }
}

}  // namespace

int c_GameCore::UpdatePauseButton() {
    ResetDrawState();
    title.titleSlide = -32;
    if (pause.paused == 0 && ControlPressed(*this, kControlBack)) OpenPanel(*this);
    if (QueueButton(kImageIcons, 16, 16, kFramePause) && pause.paused == 0) {
        input.pointerLatch = 1;
        OpenPanel(*this);
    }
    if (pause.paused == 1) UpdatePausePanel();
    if (pause.paused == 0) pause.pauseStamp = kNone;
    return 0;
}

int c_GameCore::UpdatePausePanel() {
    ShiftClock(*this);
    DrawVeil(*this);
    MovePanel(*this);
    DrawPanelBody(*this);
    UpdateResumeButton(*this);
    UpdateQuitButton(*this);
    UpdateSoundButton(*this);
    if (ControlPressed(*this, kControlBack)) ClosePanel(*this);
    return 0;
}
