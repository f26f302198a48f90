// Held keys, hits, typed characters, pointer and touches between updates.
#include <gtest/gtest.h>

#include "input/input.h"
#include "platform/platform_game.h"

namespace {

TEST(InputKeys, PressAndReleaseBetweenUpdatesCountsOneHit) {
    c_InputDevice input;
    input.KeyInput(kEventKeyDown, 65);
    input.KeyInput(kEventKeyUp, 65);
    EXPECT_EQ(input.KeyPresses(65), 1);
    EXPECT_FALSE(input.KeyHeld(65));
    input.FinishUpdate();
    EXPECT_EQ(input.KeyPresses(65), 0);
    // Held state survives the update; hits do not.
    input.KeyInput(kEventKeyDown, 40);
    input.FinishUpdate();
    EXPECT_TRUE(input.KeyHeld(40));
    EXPECT_EQ(input.KeyPresses(40), 0);
}

TEST(InputKeys, CodesOutsideTheTableAreIgnored) {
    c_InputDevice input;
    for (int code : {0, -1, 512, 100000, -100000}) {
        input.KeyInput(kEventKeyDown, code);
        input.KeyInput(kEventKeyDown, code);
    }
    EXPECT_FALSE(input.KeyHeld(0));
    EXPECT_EQ(input.KeyPresses(0), 0);
    EXPECT_FALSE(input.KeyHeld(512));
    EXPECT_EQ(input.KeyPresses(-1), 0);
    for (int code = 1; code < c_InputDevice::kKeys; ++code) {
        ASSERT_FALSE(input.KeyHeld(code)) << code;
        ASSERT_EQ(input.KeyPresses(code), 0) << code;
    }
    EXPECT_EQ(input.NextChar(), 0);
    input.KeyInput(99, 65);  // unknown event
    EXPECT_FALSE(input.KeyHeld(65));
}

TEST(InputChars, QueueKeepsOrderAndDropsPastThirtyTwo) {
    c_InputDevice input;
    for (int i = 0; i < 40; ++i) input.KeyInput(kEventChar, 100 + i);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(input.NextChar(), 100 + i);
    EXPECT_EQ(input.NextChar(), 0);
    EXPECT_EQ(input.NextChar(), 0);
    input.FinishUpdate();
    EXPECT_EQ(input.NextChar(), 0);
    input.KeyInput(kEventChar, 0x10000 + 37);
    EXPECT_EQ(input.NextChar(), 0x10000 + 37);
}

TEST(InputPointer, LeftClickIsAlsoTouchZero) {
    c_InputDevice input;
    input.MouseInput(kEventMouseDown, 0, 10, 20);
    EXPECT_TRUE(input.KeyHeld(1));
    EXPECT_TRUE(input.KeyHeld(384));
    EXPECT_EQ(input.KeyPresses(1), 1);
    EXPECT_EQ(input.KeyPresses(384), 1);
    EXPECT_EQ(input.PointerX(), 10);
    EXPECT_EQ(input.PointerY(), 20);
    EXPECT_EQ(input.TouchPosX(0), 10);
    EXPECT_EQ(input.TouchPosY(0), 20);
    // A release does not move the pointer.
    input.MouseInput(kEventMouseUp, 0, 300, 400);
    EXPECT_FALSE(input.KeyHeld(1));
    EXPECT_FALSE(input.KeyHeld(384));
    EXPECT_EQ(input.PointerX(), 10);
    EXPECT_EQ(input.TouchPosY(0), 20);
    input.MouseInput(kEventMouseMove, -1, 50, 60);
    EXPECT_EQ(input.PointerX(), 50);
    EXPECT_EQ(input.TouchPosY(0), 60);
    EXPECT_EQ(input.KeyPresses(1), 1);
    input.MouseInput(kEventMouseDown, 1, 5, 6);  // the right button does not mirror
    EXPECT_TRUE(input.KeyHeld(2));
    EXPECT_EQ(input.KeyPresses(384), 1);
}

TEST(InputTouches, TouchesAreKeysWithPositions) {
    c_InputDevice input;
    input.TouchInput(kEventTouchDown, 0, 7, 8);
    EXPECT_TRUE(input.KeyHeld(1));
    EXPECT_EQ(input.KeyPresses(1), 1);
    EXPECT_EQ(input.PointerX(), 7);
    input.TouchInput(kEventTouchDown, 5, 70, 80);
    EXPECT_TRUE(input.KeyHeld(389));
    EXPECT_EQ(input.TouchPosX(5), 70);
    EXPECT_EQ(input.PointerX(), 7);  // only touch 0 moves the pointer
    input.TouchInput(kEventTouchUp, 0, 1, 1);
    EXPECT_FALSE(input.KeyHeld(1));
    EXPECT_EQ(input.TouchPosX(0), 7);
    // Indices past the table are ignored, and queries outside it read 0.
    input.TouchInput(kEventTouchDown, 40, 1, 1);
    input.TouchInput(kEventTouchMove, -1, 1, 1);
    EXPECT_FALSE(input.KeyHeld(384 + 40));
    EXPECT_EQ(input.TouchPosX(40), 0);
    EXPECT_EQ(input.TouchPosY(-1), 0);
}

}  // namespace
