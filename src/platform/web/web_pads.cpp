#include "platform/web/web_pads.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/joystick_layout.h"

namespace {

constexpr int kMaxButtons = 32, kMaxAxes = 6;
constexpr int kAbsent = -1, kStandard = 1;  // 0: a pad in its own order

struct PadReading {
    std::array<float, kMaxAxes> axes{};
    std::array<float, kMaxButtons> values{};
    std::array<uint8_t, kMaxButtons> pressed{};
    std::array<int32_t, 2> counts{};  // axes, buttons
};

}  // namespace

// The pad at `port` of navigator.getGamepads() into the buffers; returns
// kAbsent, kStandard or 0 (its own order). The page may hand in anything: numbers
// that are not are read as 0.
EM_JS(int, bw_read_browser_pad,
      (int port, float* axes, float* values, uint8_t* pressed, int* counts), {
          var pads = null;
          try {
              pads = navigator.getGamepads ? navigator.getGamepads() : null;
          } catch (e) {
              // A page the pads are not allowed to (a policy, a frame): no pads.
          }
          var pad = pads ? pads[port] : null;
          if (!pad || pad.connected == false) return -1;
          var axisCount = Math.min(pad.axes ? pad.axes.length : 0, 6);
          var buttonCount = Math.min(pad.buttons ? pad.buttons.length : 0, 32);
          for (var i = 0; i < axisCount; i++) HEAPF32[(axes >> 2) + i] = Number(pad.axes[i]) || 0;
          for (var i = 0; i < buttonCount; i++) {
              var b = pad.buttons[i];
              var value = typeof b == "object" && b ? Number(b.value) || 0 : Number(b) || 0;
              HEAPF32[(values >> 2) + i] = value;
              HEAPU8[pressed + i] =
                  typeof b == "object" && b ? (b.pressed ? 1 : 0) : (value > 0.5 ? 1 : 0);
          }
          HEAP32[counts >> 2] = axisCount;
          HEAP32[(counts >> 2) + 1] = buttonCount;
          return pad.mapping == "standard" ? 1 : 0;
      });

bool ReadBrowserPad(int port, float* x, float* y, float* z, bool* buttons) {
    if (port < 0 || port > 15) return false;
    PadReading r;
    int kind = bw_read_browser_pad(port, r.axes.data(), r.values.data(), r.pressed.data(),
                                   r.counts.data());
    if (kind == kAbsent) return false;
    if (kind == kStandard) {
        StandardPad pad;
        int n = std::min(r.counts[1], StandardPad::kButtons);
        for (int i = 0; i < n; i++) {
            pad.pressed[i] = r.pressed[i] != 0;
            pad.values[i] = r.values[i];
        }
        std::copy_n(r.axes.begin(), StandardPad::kAxes, pad.axes.begin());
        ArrangeGamepad(FromStandardPad(pad), x, y, z, buttons);
        return true;
    }
    RearrangePadAxes(r.counts[0], r.axes.data(), x, y, z);
    for (int i = 0; i < r.counts[1]; i++) buttons[i] = r.pressed[i] != 0;
    return true;
}
