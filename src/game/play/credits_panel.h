// The credits panel over the title screen, dressed as a television test card.
// It keeps its own open state and slide; the title asks for it to open, a
// fresh touch or back closes it.
#pragma once

#include <array>

#include "core/text.h"
#include "game/play/frame.h"

// The credit lines, entries 0..38.
extern const std::array<StringView, 39> kCreditLines;

// The live numbers in the corner discs: the window in device pixels and the
// measured rates of updates and renders.
struct CreditsReadouts {
    int pixelWidth = 0, pixelHeight = 0;
    int updateFps = 0, renderFps = 0;
};

// What the core must act on after the panel's update.
struct CreditsReport {
    bool closed = false;  // closed by a touch in this update
};

struct CreditsPanel {
    static constexpr int kSlideLength = 30;  // updates to fly in or out

    int menuPanelOpen = 0;
    int menuPanelSlide = 0;  // 0..30 while it flies in and out
    float creditScroll = 0;
    int creditLine = 0;

    void Open() { menuPanelOpen = 1; }
    void Close() { menuPanelOpen = 0; }
    bool Visible() const { return menuPanelOpen == 1 || menuPanelSlide > 0; }

    // One update: over the title, the panel (while visible) scrolls, draws
    // and closes on a fresh touch; on any screen it slides toward its state.
    CreditsReport Update(bool onTitle, const CreditsReadouts& readouts, Frame& frame);
    // The panel at its current slide and scroll; changes nothing.
    void Draw(const CreditsReadouts& readouts, Frame& frame) const;
    // The scroller moves on by one update.
    void Scroll();
};
