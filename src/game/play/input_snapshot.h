// The input of one update in the game's terms: the pointer and touches in
// screen units, which abstract controls are held, and the two latches that
// give every screen one action per press.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Abstract controls.
enum Control {
    kControlUp = 0,
    kControlLeft = 3,
    kControlRight = 5,
    kControlDown = 8,
    kControlA = 10,
    kControlB = 11,
    kControlC = 12,
    kControlD = 13,
    kControlBack = 99,
};
constexpr std::array<int, 9> kControls = {kControlUp,   kControlLeft, kControlRight,
                                          kControlDown, kControlA,    kControlB,
                                          kControlC,    kControlD,    kControlBack};

// A fresh press, consumed: true when `pressed` and the latch is clear, and the
// latch is then set so the same press does nothing more until it is released.
inline bool TakePress(int& latch, bool pressed) {
    if (!pressed || latch != 0) return false;
    latch = 1;
    return true;
}

struct InputSnapshot {
    static constexpr int kTouches = 10;

    int pointerX = 0, pointerY = 0, pointerPrevX = 0, pointerPrevY = 0;
    int pointerDown = 0, mouseWasDown = 0, clickHits = 0, pointerLatch = 0, controlLatch = 0;
    std::array<int32_t, kTouches> touchDown{};
    std::array<int32_t, kTouches> touchX{};
    std::array<int32_t, kTouches> touchY{};
    uint32_t controlsHeld = 0;  // bit i: kControls[i] is held

    // The bit of a control in controlsHeld; -1 for a code that names none.
    static int BitOf(int control) {
        for (size_t i = 0; i < kControls.size(); i++) {
            if (kControls[i] == control) return static_cast<int>(i);
        }
        return -1;
    }
    // Held state only; a code that names no control is never held.
    bool Held(int control) const {
        int bit = BitOf(control);
        return bit >= 0 && (controlsHeld >> bit & 1u) != 0;
    }
    void SetHeld(int control, bool held) {
        int bit = BitOf(control);
        if (bit < 0) return;
        controlsHeld = held ? controlsHeld | 1u << bit : controlsHeld & ~(1u << bit);
    }
    // A fresh press of a control, or of a touch on a button.
    bool TakeControl(int control) { return TakePress(controlLatch, Held(control)); }
    bool TakeTouch(bool touched) { return TakePress(pointerLatch, touched); }
};
