// UTF-8 inside the game, UTF-16 to the Windows API.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to UTF-16. Surrogate halves written one by one (as the game's text
// codec writes them) and four-byte forms both give their UTF-16 units; a
// byte that starts no valid form stands for the character of its value.
std::wstring WideFromUtf8(std::string_view utf8);

// UTF-16 to UTF-8 the way the game's text codec reads it: each unit on its
// own, so every Windows name survives the trip through the game's strings.
std::string Utf8FromWide(std::wstring_view wide);

// A name as absolute, with backslashes ("" if Windows cannot make one).
std::wstring FullPath(const std::string& utf8);

// A full path every wide file function takes: the "\\?\" form once it is
// too long for the classic MAX_PATH limit, else as it is.
std::wstring LongForm(const std::wstring& full);

// Both: what to hand a wide file function for a name from the game.
std::wstring WidePath(const std::string& utf8);
