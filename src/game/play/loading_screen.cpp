#include "game/play/loading_screen.h"

#include <algorithm>

#include "core/degree_math.h"
#include "game/play/game_ids.h"

namespace {

constexpr int kDots = 11;
constexpr int kDotSpacing = 16;  // degrees between dots, so a ring fades in over 160
constexpr float kDotRadius = 8;

// The smaller side of the screen in whole units: the rings, disc and band scale with it.
int ShortSide(const ScreenFit& screen) {
    return static_cast<int>(std::min(screen.screenWidth, screen.screenHeight));
}

// Eleven dots fading in on a ring of radius m/4 around the centre.
void QueueDotRing(float r, float g, float b, int firstAngle, Frame& frame) {
    const float w = frame.screen.screenWidth, h = frame.screen.screenHeight;
    const auto radius = static_cast<float>(ShortSide(frame.screen) / 4);
    for (int i = 0; i < kDots; i++) {
        frame.pen.SetColor(r, g, b, static_cast<float>(i) / 10.0f);
        const auto a = static_cast<float>(firstAngle + kDotSpacing * i);
        frame.pen.QueueEllipse(w / 2 + radius * SinDeg(a), h / 2 - radius * CosDeg(a), kDotRadius,
                               kDotRadius);
    }
}

}  // namespace

LoadingReport LoadingScreen::Update(Frame& frame) {
    LoadingReport report;
    if (!Loading()) return report;
    report.step = loadStep;
    report.finished = loadStep >= kLastStep;
    loadStep = report.finished ? 0 : loadStep + 1;
    spinnerAngle += kSpinnerStep;
    Draw(frame);
    return report;
}

// A light ring half a turn ahead of a dark one, a disc, a band and the maker's logo.
void LoadingScreen::Draw(Frame& frame) const {
    const float w = frame.screen.screenWidth, h = frame.screen.screenHeight;
    const auto m = static_cast<float>(ShortSide(frame.screen));
    Pen& pen = frame.pen;
    pen.Begin(40, 40, 80, 1);
    QueueDotRing(250, 250, 250, spinnerAngle + 180, frame);
    pen.SetColor(255, 255, 0, 0.8f);
    pen.QueueEllipse(w / 2, h / 2, 0.3f * m, 0.3f * m);
    pen.SetColor(250, 160, 60, 0.7f);
    pen.QueueRect(0, 0.4f * h, w, 0.2f * h);
    pen.ResetState();
    pen.QueueImage(kImageMakerLogo, w / 2, 0.48f * h, 0);
    QueueDotRing(50, 50, 50, spinnerAngle, frame);
}
