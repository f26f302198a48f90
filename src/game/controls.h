// The nine abstract controls read from the devices: keys, the buttons of pad
// port 0 and its first stick.
#pragma once

#include "game/play/input_snapshot.h"

class c_InputDevice;

// 1 while the control is held on the device, else 0; a code that names no
// control never answers. Held state only: a control answers on every update
// while its input is held.
int ControlDown(const c_InputDevice& device, int code);
// Which controls are held, into the snapshot; once per update, since the
// devices do not change while an update runs. No device holds nothing.
void SampleControls(InputSnapshot& input, const c_InputDevice* device);
