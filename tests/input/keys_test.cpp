// GLFW key constants to key codes, and the events a key action sends.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <utility>

#include "input/input.h"
#include "platform/glfw_input/glfw_keys.h"
#include "platform/platform_game.h"

namespace {

// Feeds one GLFW key action to the device the way the platform's callback does.
void Apply(c_InputDevice& input, int glfwKey, int action) {
    KeyEvent events[2];
    int count = GlfwKeyEvents(glfwKey, action, events);
    for (int i = 0; i < count; ++i) input.KeyInput(events[i].event, events[i].code);
}

TEST(GlfwKeys, TranslationTable) {
    // clang-format off
    const std::pair<int, int> table[] = {
        {GLFW_KEY_SPACE, 32}, {GLFW_KEY_APOSTROPHE, 222}, {GLFW_KEY_COMMA, 188},
        {GLFW_KEY_MINUS, 189}, {GLFW_KEY_PERIOD, 190}, {GLFW_KEY_SLASH, 191}, {GLFW_KEY_0, 48},
        {GLFW_KEY_9, 57}, {GLFW_KEY_A, 65}, {GLFW_KEY_Z, 90}, {GLFW_KEY_SEMICOLON, 186},
        {GLFW_KEY_EQUAL, 187}, {GLFW_KEY_LEFT_BRACKET, 219}, {GLFW_KEY_BACKSLASH, 220},
        {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192}, {GLFW_KEY_ESCAPE, 27},
        {GLFW_KEY_F1, 112}, {GLFW_KEY_F12, 123}, {GLFW_KEY_UP, 38}, {GLFW_KEY_DOWN, 40},
        {GLFW_KEY_LEFT, 37}, {GLFW_KEY_RIGHT, 39}, {GLFW_KEY_LEFT_SHIFT, 16},
        {GLFW_KEY_RIGHT_SHIFT, 16}, {GLFW_KEY_LEFT_CONTROL, 17}, {GLFW_KEY_RIGHT_CONTROL, 17},
        {GLFW_KEY_TAB, 9}, {GLFW_KEY_ENTER, 13}, {GLFW_KEY_BACKSPACE, 8}, {GLFW_KEY_INSERT, 45},
        {GLFW_KEY_DELETE, 46}, {GLFW_KEY_PAGE_UP, 33}, {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36}, {GLFW_KEY_END, 35},
    };
    const int silent[] = {GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT, GLFW_KEY_KP_0, GLFW_KEY_KP_ENTER,
                          GLFW_KEY_F13, GLFW_KEY_F25, GLFW_KEY_LEFT_SUPER, GLFW_KEY_MENU,
                          GLFW_KEY_WORLD_1, GLFW_KEY_UNKNOWN, GLFW_KEY_CAPS_LOCK, 100000};
    // clang-format on
    for (auto [glfw, code] : table) EXPECT_EQ(TranslateGlfwKey(glfw), code) << glfw;
    for (int glfw : silent) EXPECT_EQ(TranslateGlfwKey(glfw), 0) << glfw;
    KeyEvent events[2];
    EXPECT_EQ(GlfwKeyEvents(GLFW_KEY_KP_5, GLFW_PRESS, events), 0);
    EXPECT_EQ(GlfwKeyEvents(GLFW_KEY_A, 7, events), 0);  // unknown action
    // Navigation keys and Insert type themselves with bit 16 set.
    for (int code : {33, 34, 35, 36, 37, 38, 39, 40, 45})
        EXPECT_EQ(KeyPressCharacter(code), 0x10000 + code) << code;
    for (int code : {8, 9, 13, 27}) EXPECT_EQ(KeyPressCharacter(code), code);
    for (int code : {32, 41, 65, 112, 16}) EXPECT_EQ(KeyPressCharacter(code), 0) << code;
}

TEST(GlfwKeys, ActionsBecomeKeyAndCharacterEvents) {
    c_InputDevice input;
    Apply(input, GLFW_KEY_DELETE, GLFW_PRESS);
    Apply(input, GLFW_KEY_LEFT, GLFW_PRESS);
    EXPECT_TRUE(input.KeyHeld(46));
    EXPECT_TRUE(input.KeyHeld(37));
    EXPECT_EQ(input.NextChar(), 127);
    EXPECT_EQ(input.NextChar(), 65536 + 37);
    Apply(input, GLFW_KEY_LEFT, GLFW_RELEASE);
    EXPECT_FALSE(input.KeyHeld(37));
    EXPECT_EQ(input.NextChar(), 0);  // a release types nothing

    // A lower-case a: key 65 from the key callback, 97 from the character callback.
    Apply(input, GLFW_KEY_A, GLFW_PRESS);
    input.KeyInput(kEventChar, 'a');
    EXPECT_EQ(input.KeyPresses(65), 1);
    EXPECT_EQ(input.NextChar(), 97);
    EXPECT_EQ(input.NextChar(), 0);
}

TEST(GlfwKeys, AutoRepeatCountsPressesAndQueuesCharacters) {
    c_InputDevice input;
    Apply(input, GLFW_KEY_BACKSPACE, GLFW_PRESS);
    for (int i = 0; i < 3; ++i) Apply(input, GLFW_KEY_BACKSPACE, GLFW_REPEAT);
    Apply(input, GLFW_KEY_DOWN, GLFW_PRESS);
    Apply(input, GLFW_KEY_DOWN, GLFW_REPEAT);
    Apply(input, GLFW_KEY_X, GLFW_PRESS);
    Apply(input, GLFW_KEY_X, GLFW_REPEAT);
    EXPECT_EQ(input.KeyPresses(8), 4);
    EXPECT_EQ(input.KeyPresses(40), 2);
    EXPECT_EQ(input.KeyPresses(88), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(input.NextChar(), 8);
    EXPECT_EQ(input.NextChar(), 65536 + 40);
    EXPECT_EQ(input.NextChar(), 65536 + 40);
    EXPECT_EQ(input.NextChar(), 0);  // printable keys type through the character callback
}

TEST(GlfwKeys, MouseButtons) {
    EXPECT_EQ(GlfwMouseButtonEvent(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS), kEventMouseDown);
    EXPECT_EQ(GlfwMouseButtonEvent(GLFW_MOUSE_BUTTON_MIDDLE, GLFW_RELEASE), kEventMouseUp);
    EXPECT_EQ(GlfwMouseButtonEvent(GLFW_MOUSE_BUTTON_4, GLFW_PRESS), 0);
    EXPECT_EQ(GlfwMouseButtonEvent(-1, GLFW_PRESS), 0);
}

}  // namespace
