// Reading the draw list back for front-end tests: commands as records, the
// text the font glyphs spell, and the harness steps that bring up the title.
#pragma once

#include <string>
#include <vector>

#include "support/game_harness.h"

inline std::vector<DrawCommand> Commands(const c_MyApp& app) {
    std::vector<DrawCommand> out;
    for (int i = 0; i < app.drawList.CommandCount(); i++) out.push_back(app.drawList.Command(i));
    return out;
}

inline std::vector<DrawCommand> Images(const c_MyApp& app, int image) {
    std::vector<DrawCommand> out;
    for (const DrawCommand& c : Commands(app))
        if (c.kind == static_cast<float>(image)) out.push_back(c);
    return out;
}

inline std::vector<DrawCommand> Rects(const c_MyApp& app) {
    std::vector<DrawCommand> out;
    for (const DrawCommand& c : Commands(app))
        if (c.kind == kCmdRect) out.push_back(c);
    return out;
}

// The characters the queued font glyphs spell, in order (spaces are not drawn).
inline std::string GlyphText(const c_MyApp& app) {
    std::string out;
    for (const DrawCommand& c : Images(app, app.media.currentFont))
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
