// Writes the sound effects (sfx/NNN.wav) and the music player's samples (inst/*.wav).
#pragma once

#include <string>

bool WriteSounds(const std::string& dataDir);
bool WriteInstruments(const std::string& dataDir);
