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

    // Held state only; any code that names no control is never held.
    bool Held(int control) const {
        for (size_t i = 0; i < kControls.size(); i++) {
            if (kControls[i] == control) return (controlsHeld >> i & 1u) != 0;
        }
        return false;
    }
    void SetHeld(int control, bool held) {
        for (size_t i = 0; i < kControls.size(); i++) {
            if (kControls[i] != control) continue;
            controlsHeld = held ? controlsHeld | 1u << i : controlsHeld & ~(1u << i);
        }
    }
    // A fresh press of a control, or of a touch on a button.
    bool TakeControl(int control) { return TakePress(controlLatch, Held(control)); }
    bool TakeTouch(bool touched) { return TakePress(pointerLatch, touched); }
};
