// Pads by their mapping: two common pads as GLFW sees them under Linux, read
// through the test platform with and without a mapping for them, and the
// browser's standard mapping turned into the same layout.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "input/input.h"
#include "platform/joystick_layout.h"
#include "support/test_platform.h"

namespace {

// GLFW's gamepad button numbers (GLFW_GAMEPAD_BUTTON_*).
enum Named { A, B, X, Y, LB, RB, Back, Start, Guide, LStick, RStick, Up, Right, Down, Left };
constexpr int kNamed = 15;
const char* const kNames[kNamed] = {"A",      "B",    "X",     "Y",     "LB",
                                    "RB",     "Back", "Start", "Guide", "LStick",
                                    "RStick", "Up",   "Right", "Down",  "Left"};

// Where the game's controls expect each named button.
constexpr std::array<int, kNamed> kGameButton = {0, 1, 2, 3, 4, 5, 6, 7, 14, 12, 13, 9, 10, 11, 8};

// A pad's raw buttons without a mapping: the driver's order, with GLFW's hat
// appended as four buttons (up, right, down, left).
struct RawLayout {
    const char* name;
    int buttonCount;
    std::array<int, kNamed> raw;  // raw button of each named one
};
// xpad: A B X Y LB RB back start guide sticks, then the hat at 11..14.
const RawLayout kXboxStyle = {"xbox", 15, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}};
// hid-sony: cross circle triangle square L1 R1 L2 R2 share options PS sticks,
// then the hat at 13..16. The triggers are buttons 6 and 7 as well as axes.
const RawLayout kPlayStationStyle = {
    "playstation", 17, {0, 1, 3, 2, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16}};

struct PadMappingTest : ::testing::TestWithParam<RawLayout> {
    TestPlatform platform;
    c_InputDevice input{&platform};
    ScriptedJoystick& pad = platform.joysticks[0];

    void SetUp() override {
        pad.present = true;
        pad.axisCount = 8;  // both sticks, both triggers, the hat
        pad.buttonCount = GetParam().buttonCount;
        pad.axes = {0, 0, -1, 0, 0, -1};
        pad.gamepad.axes = {0, 0, 0, 0, -1, -1};  // triggers at rest
    }
    // Presses or releases one named button, raw and by the mapping alike.
    void Set(int named, bool down) {
        pad.gamepad.buttons[named] = down;
        pad.buttons[GetParam().raw[named]] = down;
    }
    // The port's buttons held after one update.
    std::vector<int> HeldButtons() {
        input.PrepareUpdate();
        std::vector<int> held;
        for (int b = 0; b < 32; b++)
            if (input.KeyHeld(256 + b)) held.push_back(b);
        input.FinishUpdate();
        return held;
    }
};

TEST_P(PadMappingTest, MappedButtonsLandWhereTheControlsLook) {
    pad.mapped = true;
    for (int named = 0; named < kNamed; named++) {
        Set(named, true);
        EXPECT_EQ(HeldButtons(), std::vector<int>{kGameButton[named]}) << kNames[named];
        Set(named, false);
    }
    EXPECT_TRUE(HeldButtons().empty());
}

TEST_P(PadMappingTest, MappedSticksAndTriggers) {
    pad.mapped = true;
    pad.gamepad.axes = {-0.5f, -1.0f, 0.25f, 0.75f, 1.0f, 0.0f};
    input.PrepareUpdate();
    EXPECT_FLOAT_EQ(input.StickX(0, 0), -0.5f);
    EXPECT_FLOAT_EQ(input.StickY(0, 0), -1.0f);  // pushed up
    EXPECT_FLOAT_EQ(input.StickX(1, 0), 0.25f);
    EXPECT_FLOAT_EQ(input.StickY(1, 0), 0.75f);
    EXPECT_FLOAT_EQ(input.sticks[0].axisZ[0], 1.0f);  // left trigger fully pulled
    EXPECT_FLOAT_EQ(input.sticks[0].axisZ[1], 0.5f);
}

// Without a mapping the raw order stands, as it always did: on these pads
// that puts the guide or a trigger where the controls look for left or back.
TEST_P(PadMappingTest, UnmappedPadKeepsItsRawOrder) {
    for (int named = 0; named < kNamed; named++) {
        Set(named, true);
        EXPECT_EQ(HeldButtons(), std::vector<int>{GetParam().raw[named]}) << kNames[named];
        Set(named, false);
    }
}

TEST_P(PadMappingTest, UnpluggedMidPressNothingStaysHeldAndReplugWorks) {
    pad.mapped = true;
    Set(Left, true);
    Set(A, true);
    pad.gamepad.axes[0] = -1;
    pad.gamepad.axes[4] = 1;
    EXPECT_EQ(HeldButtons(), (std::vector<int>{0, 8}));

    pad.present = false;
    EXPECT_TRUE(HeldButtons().empty());
    EXPECT_EQ(input.StickX(0, 0), 0);
    EXPECT_EQ(input.sticks[0].axisZ[0], 0);

    pad.present = true;
    Set(Left, false);
    input.PrepareUpdate();
    EXPECT_EQ(input.KeyPresses(256), 1);
    EXPECT_FALSE(input.KeyHeld(264));
    EXPECT_FLOAT_EQ(input.StickX(0, 0), -1.0f);
}

INSTANTIATE_TEST_SUITE_P(Pads, PadMappingTest, ::testing::Values(kXboxStyle, kPlayStationStyle),
                         [](const auto& info) { return std::string(info.param.name); });

// The browser's standard mapping: d-pad 12..15 (up, down, left, right),
// back 8, start 9, triggers as buttons 6 and 7 with a value.
TEST(StandardPadLayout, ButtonsAndTriggersLandWhereTheControlsLook) {
    // Standard button → the game's button (-1: a trigger, read as an axis).
    const int expected[17] = {0, 1, 2, 3, 4, 5, -1, -1, 6, 7, 12, 13, 9, 11, 8, 10, 14};
    for (int i = 0; i < StandardPad::kButtons; i++) {
        StandardPad standard;
        standard.pressed[i] = true;
        standard.values[i] = 1;
        float x[2], y[2], z[2];
        bool buttons[32];
        ArrangeGamepad(FromStandardPad(standard), x, y, z, buttons);
        std::vector<int> held;
        for (int b = 0; b < 32; b++)
            if (buttons[b]) held.push_back(b);
        std::vector<int> want;
        if (expected[i] >= 0) want.push_back(expected[i]);
        EXPECT_EQ(held, want) << "standard button " << i;
        EXPECT_FLOAT_EQ(z[0], i == 6 ? 1.0f : 0.0f) << i;
        EXPECT_FLOAT_EQ(z[1], i == 7 ? 1.0f : 0.0f) << i;
    }
}

}  // namespace
