// What the replay tool asks of the operating system beyond the game's own
// interface: its memory figure and the leak checker's GL drivers. One file
// per system (posix/, win32/), chosen by CMake.
#pragma once

#include <string>

// The folder of the tool's executable, UTF-8 with forward slashes; "." when
// the system cannot tell.
std::string ExeFolder();

// The process's peak resident memory in KiB.
long PeakResidentKb();

// Keeps the GL drivers that GLFW loads at run time loaded until exit.
void PinGlDrivers();
