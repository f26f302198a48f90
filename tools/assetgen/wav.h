// Writes mono 16-bit PCM WAV files.
#pragma once

#include <string>
#include <vector>

// Writes `samples` (floats in -1..1, clamped) as a RIFF/WAVE file; false on failure.
bool WriteWav(const std::string& path, const std::vector<float>& samples, int sampleRate);
