// Joystick polling through the test platform's scripted pads.
#include <gtest/gtest.h>

#include "input/input.h"
#include "support/test_platform.h"

namespace {

struct JoystickTest : ::testing::Test {
    TestPlatform platform;
    c_InputDevice input{&platform};

    void Plug(int port, std::initializer_list<float> axes, int buttonCount = 8) {
        ScriptedJoystick& j = platform.joysticks[port];
        j.present = true;
        j.axisCount = int(axes.size());
        int i = 0;
        for (float a : axes) j.axes[i++] = a;
        j.buttonCount = buttonCount;
    }
};

TEST_F(JoystickTest, FourAxisPadPutsAxisTwoOnSecondStickY) {
    Plug(0, {0.1f, 0.2f, 0.3f, 0.4f});
    input.PrepareUpdate();
    EXPECT_FLOAT_EQ(input.StickX(0, 0), 0.1f);
    EXPECT_FLOAT_EQ(input.StickY(0, 0), 0.2f);
    EXPECT_FLOAT_EQ(input.StickX(1, 0), 0.4f);
    EXPECT_FLOAT_EQ(input.StickY(1, 0), 0.3f);
    EXPECT_EQ(input.sticks[0].axisZ[0], 0);
}

TEST_F(JoystickTest, FiveAxisPadSwapsThreeAndFour) {
    Plug(0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f});
    input.PrepareUpdate();
    EXPECT_FLOAT_EQ(input.StickX(1, 0), 0.5f);
    EXPECT_FLOAT_EQ(input.StickY(1, 0), 0.4f);
    EXPECT_FLOAT_EQ(input.sticks[0].axisZ[0], 0.3f);
}

TEST_F(JoystickTest, SixAxisPadPassesStraightThroughWithUpNegative) {
    // A stick pushed up reads negative y, which the controls take as up.
    Plug(0, {0.1f, -1.0f, 0.3f, 0.4f, 0.5f, 0.6f});
    input.PrepareUpdate();
    EXPECT_FLOAT_EQ(input.StickY(0, 0), -1.0f);
    EXPECT_FLOAT_EQ(input.StickX(1, 0), 0.4f);
    EXPECT_FLOAT_EQ(input.StickY(1, 0), 0.5f);
    EXPECT_FLOAT_EQ(input.sticks[0].axisZ[0], 0.3f);
    EXPECT_FLOAT_EQ(input.sticks[0].axisZ[1], 0.6f);
}

TEST_F(JoystickTest, HeldButtonHitsOncePerPress) {
    Plug(0, {});
    Plug(1, {});
    platform.joysticks[1].buttons[3] = true;
    for (int update = 0; update < 10; ++update) {
        input.PrepareUpdate();
        EXPECT_TRUE(input.KeyHeld(291)) << update;
        EXPECT_EQ(input.KeyPresses(291), update == 0 ? 1 : 0) << update;
        input.FinishUpdate();
    }
    platform.joysticks[1].buttons[3] = false;
    input.PrepareUpdate();
    EXPECT_FALSE(input.KeyHeld(291));
    input.FinishUpdate();
    platform.joysticks[1].buttons[3] = true;
    input.PrepareUpdate();
    EXPECT_EQ(input.KeyPresses(291), 1);
    EXPECT_FALSE(input.KeyHeld(256 + 3));  // port 0's button 3 is another key
}

TEST_F(JoystickTest, UnpluggingReleasesThatPortAndTheHiddenOnesAfterIt) {
    Plug(0, {-1.0f, 0.8f});
    Plug(1, {0.25f, 0.5f});
    platform.joysticks[0].buttons[2] = true;
    platform.joysticks[1].buttons[0] = true;
    input.PrepareUpdate();
    EXPECT_FLOAT_EQ(input.StickX(0, 1), 0.25f);
    EXPECT_TRUE(input.KeyHeld(258));
    EXPECT_TRUE(input.KeyHeld(288));
    input.FinishUpdate();

    // Port 0 pulled out with its stick pushed and a button held: at the next
    // update nothing of it is held, and port 1 behind the gap reads idle too.
    platform.joysticks[0].present = false;
    platform.joystickReads = 0;
    input.PrepareUpdate();
    EXPECT_EQ(platform.joystickReads, 1);  // polling stops at the first absent port
    for (int port : {0, 1}) {
        EXPECT_EQ(input.StickX(0, port), 0) << port;
        EXPECT_EQ(input.StickY(0, port), 0) << port;
    }
    for (int key = 256; key < 384; key++) {
        EXPECT_FALSE(input.KeyHeld(key)) << key;
        EXPECT_EQ(input.KeyPresses(key), 0) << key;
    }
    input.FinishUpdate();

    // Plugged back with the button still down: one fresh press, then held.
    platform.joysticks[0].present = true;
    for (int update = 0; update < 3; update++) {
        input.PrepareUpdate();
        EXPECT_TRUE(input.KeyHeld(258));
        EXPECT_EQ(input.KeyPresses(258), update == 0 ? 1 : 0);
        EXPECT_FLOAT_EQ(input.StickX(0, 0), -1.0f);
        input.FinishUpdate();
    }
}

TEST_F(JoystickTest, PadAfterAGapIsNeverPolled) {
    Plug(2, {0.9f, 0.9f});
    platform.joysticks[2].buttons[1] = true;
    input.PrepareUpdate();
    EXPECT_EQ(input.StickX(0, 2), 0);
    EXPECT_FALSE(input.KeyHeld(256 + 64 + 1));
}

}  // namespace
