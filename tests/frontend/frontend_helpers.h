// Reading the draw list back for front-end tests: commands as records, the
// text the font glyphs spell, and the harness steps that bring up the title.
#pragma once

#include <string>
#include <vector>

#include "support/game_harness.h"

struct Command {
    float kind, x, y, rotation, sizeX, sizeY, frame, alpha, r, g, b;
};

inline std::vector<Command> Commands(const c_MyApp& app) {
    std::vector<Command> out;
    for (int p = 0; p + c_MyApp::kCommandSize <= app.drawCount; p += c_MyApp::kCommandSize) {
        const float* e = &app.drawList[p];
        out.push_back({e[0], e[1], e[2], e[3], e[4], e[5], e[6], e[7], e[10], e[11], e[12]});
    }
    return out;
}

inline std::vector<Command> Images(const c_MyApp& app, int image) {
    std::vector<Command> out;
    for (const Command& c : Commands(app))
        if (c.kind == static_cast<float>(image)) out.push_back(c);
    return out;
}

inline std::vector<Command> Rects(const c_MyApp& app) {
    std::vector<Command> out;
    for (const Command& c : Commands(app))
        if (c.kind == kCmdRect) out.push_back(c);
    return out;
}

// The characters the queued font glyphs spell, in order (spaces are not drawn).
inline std::string GlyphText(const c_MyApp& app) {
    std::string out;
    for (const Command& c : Images(app, app.currentFont))
        out.push_back(static_cast<char>(static_cast<int>(c.frame) + 32));
    return out;
}

// Loads the assets and lets the intro slide finish.
inline void SettleTitle(GameHarness& h) {
    h.FinishLoading();
    h.Step(40);
}

// A press held over one update, then released over the next.
inline void Tap(GameHarness& h, float x, float y) {
    h.Press(x, y);
    h.Step();
    h.Release();
    h.Step();
}
