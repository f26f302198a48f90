// GLFW 3 key constants to the game's key codes (Windows virtual-key numbers),
// and the events one GLFW key or button action sends to the platform game.
#pragma once

// 0 when the key produces no event.
int TranslateGlfwKey(int glfwKey);
// Character event sent with a key press, or 0 for none.
int KeyPressCharacter(int keyCode);

// One event for the platform game's KeyInput.
struct KeyEvent {
    int event = 0;
    int code = 0;
};

// The KeyInput events of one GLFW key action, in order; returns how many (0..2).
// Press and repeat send key down plus the key's character, release sends key up.
int GlfwKeyEvents(int glfwKey, int action, KeyEvent out[2]);

// MouseInput event of a GLFW button action: 4 press, 5 release, 0 for none
// (buttons other than left, right and middle, or an unknown action).
int GlfwMouseButtonEvent(int button, int action);
