// Pads in the browser, read from the page's Gamepad API: a pad the browser
// maps as "standard" by its named buttons, any other by its raw order.
#pragma once

// False when the page has no pad at the port (0..15).
bool ReadBrowserPad(int port, float* x, float* y, float* z, bool* buttons);
