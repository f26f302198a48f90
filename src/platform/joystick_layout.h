// Rearranges raw pad axes so both sticks land in the same places whatever
// the pad reports: 4 axes move axis 2 to 4, 5 axes swap 3 and 4.
#pragma once

// raw: `count` axis values (at most 6 are used). Writes x, y, z for sticks 0 and 1.
// Values pass through as GLFW 3 reports them: pushing a stick up reads negative y.
void RearrangePadAxes(int count, const float* raw, float* x, float* y, float* z);
