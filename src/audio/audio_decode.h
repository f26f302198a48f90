// Sample readers: our own RIFF/WAVE reader and Ogg Vorbis through stb_vorbis.
// Pure functions over an open file, so the platform and fuzzers share them.
#pragma once

#include <cstdio>

#include "shell/platform_game.h"

// Reads from the file's start. Never allocates more than the bytes left.
bool DecodeWav(FILE* file, DecodedAudio* out);
bool DecodeOgg(FILE* file, DecodedAudio* out);
// Chooses by the lower-cased extension (".wav" / ".ogg"); others give false.
bool DecodeAudioByName(const std::string& lowerPath, FILE* file, DecodedAudio* out);
