// Sample readers: our own RIFF/WAVE reader and Ogg Vorbis through stb_vorbis.
// Pure functions over an open file, so the audio device and fuzzers share them.
#pragma once

#include <cstdio>
#include <string>

#include "formats/decoded.h"

// Reads from the file's start. Never allocates more than the bytes left.
bool DecodeWav(FILE* file, DecodedAudio* out);
bool DecodeOgg(FILE* file, DecodedAudio* out);
// Chooses by the extension in any letter case (".wav" / ".ogg"); others give false.
bool DecodeAudioByName(const std::string& path, FILE* file, DecodedAudio* out);
