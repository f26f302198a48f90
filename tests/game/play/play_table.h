// A Frame over plain parts, as the core builds one, with helpers to touch,
// press controls and read what an update cued and drew.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "game/play/frame.h"
#include "game/play/game_ids.h"

class PlayTable : public ::testing::Test {
  protected:
    PlayTable() {
        // 32-unit icons at the design resolution; the font's 7 × 10 cells.
        sheets.imageGeometry[3 * kImageIcons] = 32;
        sheets.imageGeometry[3 * kImageIcons + 1] = 32;
        sheets.resScale = 1;
        screen.landscape = 1;
        for (int i = 0; i < InputSnapshot::kTouches; i++) input.touchX[i] = input.touchY[i] = kNone;
    }

    void Touch(int x, int y) {
        input.pointerDown = 1;
        input.pointerX = input.touchX[0] = x;
        input.pointerY = input.touchY[0] = y;
    }
    // Holds one control; none held clears the control latch, as in the core.
    void Hold(int control) {
        input.controlsHeld = 0;
        if (control >= 0) input.SetHeld(control, true);
        if (input.controlsHeld == 0) input.controlLatch = 0;
    }

    // The ids cued since the last call, in order.
    std::vector<int> Cued() {
        std::vector<int> ids;
        for (int i = 0; i < frame.sounds.Count(); i++) ids.push_back(frame.sounds[i].id);
        frame.sounds.Clear();
        return ids;
    }
    int CountImages(int image) const {
        int n = 0;
        for (int i = 0; i < list.CommandCount(); i++)
            n += list.Command(i).kind == static_cast<float>(image);
        return n;
    }

    DrawList list;
    ScreenFit screen;
    SheetSizes sheets;
    InputSnapshot input;
    int32_t soundMode = 1;
    Frame frame{list, screen, sheets, input, soundMode};
};
