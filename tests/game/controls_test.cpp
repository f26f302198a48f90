// The nine controls: key sets, pad buttons of port 0 and the first stick.
#include "game/controls.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/game_harness.h"

namespace {

struct ControlCase {
    int code;
    std::vector<int> keys;
    int padButton;
};

const std::vector<ControlCase> kCases = {
    {kControlUp, {38, 87}, 9},    {kControlLeft, {37, 65}, 8},      {kControlRight, {39, 68}, 10},
    {kControlDown, {40, 83}, 11}, {kControlA, {90, 74, 32, 13}, 0}, {kControlB, {88, 75, 17}, 1},
    {kControlC, {67, 76, 16}, 2}, {kControlD, {86, 73}, 3},         {kControlBack, {27, 46, 8}, 7},
};
const int kAllCodes[] = {0, 3, 5, 8, 10, 11, 12, 13, 99};

// Which codes answer while the current input is held.
std::vector<int> Active(GameHarness& h) {
    std::vector<int> on;
    for (int code = -1; code <= 100; code++) {
        if (ControlDown(h.Input(), code)) on.push_back(code);
    }
    return on;
}

TEST(Controls, EachKeyAndPadButtonAnswersForItsControlOnly) {
    GameHarness h;
    EXPECT_TRUE(Active(h).empty());
    for (const ControlCase& c : kCases) {
        for (int key : c.keys) {
            h.KeyDown(key);
            h.Update();  // hits are cleared: held state alone must answer
            EXPECT_EQ(Active(h), std::vector<int>{c.code}) << "key " << key;
            h.KeyUp(key);
        }
        h.SetPadButton(c.padButton, true);
        h.Update();
        EXPECT_EQ(Active(h), std::vector<int>{c.code}) << "pad button " << c.padButton;
        h.SetPadButton(c.padButton, false);
        h.Update();
    }
    EXPECT_TRUE(Active(h).empty());
}

TEST(Controls, OtherPadPortsAndButtonsDoNotCount) {
    GameHarness h;
    for (int b : {4, 5, 6}) h.SetPadButton(b, true);
    h.platform.joysticks[1] = h.platform.joysticks[0];
    h.platform.joysticks[1].buttons[0] = true;  // action A on port 1
    h.Update();
    EXPECT_TRUE(Active(h).empty());
}

TEST(Controls, StickThresholdsAreStrict) {
    GameHarness h;
    struct StickCase {
        float x, y;
        std::vector<int> active;
    };
    const StickCase cases[] = {
        {0.39f, 0.39f, {}},          {0.4f, 0.4f, {}},
        {-0.4f, -0.4f, {}},          {0.41f, 0, {kControlRight}},
        {-0.41f, 0, {kControlLeft}}, {0, 0.41f, {kControlDown}},
        {0, -0.41f, {kControlUp}},   {-1, -1, {kControlUp, kControlLeft}},
    };
    for (const StickCase& c : cases) {
        h.SetStick(c.x, c.y);
        h.Update();
        EXPECT_EQ(Active(h), c.active) << c.x << ", " << c.y;
    }
}

TEST(Controls, ReleasedBetweenUpdatesIsNotSeen) {
    GameHarness h;
    h.KeyDown(16);
    h.Update();
    EXPECT_EQ(ControlDown(h.Input(), kControlC), 1);
    h.Update();
    EXPECT_EQ(ControlDown(h.Input(), kControlC), 1);  // every update while held
    h.KeyUp(16);
    h.KeyDown(16), h.KeyUp(16);
    h.Update();
    EXPECT_EQ(ControlDown(h.Input(), kControlC), 0);
}

TEST(Controls, TitleCodes14To17NeverAnswer) {
    GameHarness h;
    for (int key = 8; key <= 222; key++) h.KeyDown(key);
    for (int b = 0; b < 12; b++) h.SetPadButton(b, true);
    h.Update();
    for (int code = 14; code <= 17; code++) EXPECT_EQ(ControlDown(h.Input(), code), 0);
    for (int code : kAllCodes) EXPECT_EQ(ControlDown(h.Input(), code), 1);
}

// A pad GLFW has a mapping for plays by its named buttons (GLFW's gamepad
// numbers below): the d-pad steers, the face buttons act, start is back, and
// select, guide, shoulders and stick presses answer for nothing.
TEST(Controls, MappedPadAnswersByItsNamedButtons) {
    GameHarness h;
    ScriptedJoystick& pad = h.platform.joysticks[0];
    pad.present = true;
    pad.mapped = true;
    pad.gamepad.axes = {0, 0, 0, 0, -1, -1};
    const std::pair<int, std::vector<int>> cases[] = {
        {0, {kControlA}},
        {1, {kControlB}},
        {2, {kControlC}},
        {3, {kControlD}},
        {4, {}},
        {5, {}},
        {6, {}},
        {7, {kControlBack}},
        {8, {}},
        {9, {}},
        {10, {}},
        {11, {kControlUp}},
        {12, {kControlRight}},
        {13, {kControlDown}},
        {14, {kControlLeft}},
    };
    for (const auto& [button, want] : cases) {
        pad.gamepad.buttons[button] = true;
        h.Update();
        EXPECT_EQ(Active(h), want) << "gamepad button " << button;
        pad.gamepad.buttons[button] = false;
    }
    pad.gamepad.axes[1] = -1;  // the left stick pushed up
    h.Update();
    EXPECT_EQ(Active(h), std::vector<int>{kControlUp});
}

}  // namespace
