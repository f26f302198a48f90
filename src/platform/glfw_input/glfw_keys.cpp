// Key translation for the GLFW callbacks; pure functions, no GLFW state.
#include "platform/glfw_input/glfw_keys.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

// Printable keys: GLFW 3 uses their US-layout character codes.
static int TranslatePrintable(int key) {
    if ((key >= GLFW_KEY_0 && key <= GLFW_KEY_9) || (key >= GLFW_KEY_A && key <= GLFW_KEY_Z)) {
        return key;
    }
    switch (key) {
        case GLFW_KEY_SPACE:
            return 32;
        case GLFW_KEY_APOSTROPHE:
            return 222;
        case GLFW_KEY_COMMA:
            return 188;
        case GLFW_KEY_MINUS:
            return 189;
        case GLFW_KEY_PERIOD:
            return 190;
        case GLFW_KEY_SLASH:
            return 191;
        case GLFW_KEY_SEMICOLON:
            return 186;
        case GLFW_KEY_EQUAL:
            return 187;
        case GLFW_KEY_LEFT_BRACKET:
            return 219;
        case GLFW_KEY_BACKSLASH:
            return 220;
        case GLFW_KEY_RIGHT_BRACKET:
            return 221;
        case GLFW_KEY_GRAVE_ACCENT:
            return 192;
        default:
            return 0;
    }
}

int TranslateGlfwKey(int key) {
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F12) return 112 + (key - GLFW_KEY_F1);
    switch (key) {
        case GLFW_KEY_ESCAPE:
            return 27;
        case GLFW_KEY_UP:
            return 38;
        case GLFW_KEY_DOWN:
            return 40;
        case GLFW_KEY_LEFT:
            return 37;
        case GLFW_KEY_RIGHT:
            return 39;
        case GLFW_KEY_LEFT_SHIFT:
        case GLFW_KEY_RIGHT_SHIFT:
            return 16;
        case GLFW_KEY_LEFT_CONTROL:
        case GLFW_KEY_RIGHT_CONTROL:
            return 17;
        case GLFW_KEY_TAB:
            return 9;
        case GLFW_KEY_ENTER:
            return 13;
        case GLFW_KEY_BACKSPACE:
            return 8;
        case GLFW_KEY_INSERT:
            return 45;
        case GLFW_KEY_DELETE:
            return 46;
        case GLFW_KEY_PAGE_UP:
            return 33;
        case GLFW_KEY_PAGE_DOWN:
            return 34;
        case GLFW_KEY_HOME:
            return 36;
        case GLFW_KEY_END:
            return 35;
        default:
            return TranslatePrintable(key);
    }
}

int KeyPressCharacter(int keyCode) {
    switch (keyCode) {
        case 8:
        case 9:
        case 13:
        case 27:
            return keyCode;
        case 46:
            return 127;
        default:
            break;
    }
    // Navigation keys and Insert are told apart from printable text by bit 16.
    if ((keyCode >= 33 && keyCode <= 40) || keyCode == 45) return 0x10000 + keyCode;
    return 0;
}

int GlfwKeyEvents(int glfwKey, int action, KeyEvent out[2]) {
    int code = TranslateGlfwKey(glfwKey);
    if (code == 0) return 0;
    if (action == GLFW_RELEASE) {
        out[0] = {2, code};
        return 1;
    }
    // Key repeat is enabled, so a held key keeps counting presses.
    if (action != GLFW_PRESS && action != GLFW_REPEAT) return 0;
    out[0] = {1, code};
    int character = KeyPressCharacter(code);
    if (character == 0) return 1;
    out[1] = {3, character};
    return 2;
}

int GlfwMouseButtonEvent(int button, int action) {
    if (button < 0 || button > 2) return 0;
    if (action == GLFW_PRESS) return 4;
    if (action == GLFW_RELEASE) return 5;
    return 0;
}
