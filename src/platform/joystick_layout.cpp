#include "platform/joystick_layout.h"

void RearrangePadAxes(int count, const float* raw, float* x, float* y, float* z) {
    float v[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; raw && i < count && i < 6; i++) v[i] = raw[i];
    if (count == 4) {
        v[4] = v[2];
        v[2] = 0;
    } else if (count == 5) {
        float t = v[3];
        v[3] = v[4];
        v[4] = t;
    }
    x[0] = v[0];
    x[1] = v[3];
    y[0] = v[1];
    y[1] = v[4];
    z[0] = v[2];
    z[1] = v[5];
}
