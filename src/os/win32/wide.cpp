// UTF-8 and UTF-16 names, and long paths for the wide file functions.
#include "os/win32/wide.h"

#include <windows.h>

namespace {

// The number of continuation bytes after `lead`, or -1 if it starts nothing.
int Continuations(unsigned char lead) {
    if (lead >= 0xC0 && lead < 0xE0) return 1;
    if (lead >= 0xE0 && lead < 0xF0) return 2;
    if (lead >= 0xF0 && lead < 0xF8) return 3;
    return -1;
}

void AppendUtf8(std::string& out, unsigned unit) {
    if (unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | unit >> 6);
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | unit >> 12);
        out += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int more = lead < 0x80 ? 0 : Continuations(lead);
        bool valid = more >= 0 && i + more < utf8.size();
        unsigned code = more > 0 ? lead & (0x3F >> more) : lead;
        for (int k = 1; valid && k <= more; k++) {
            unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        if (!valid || code > 0x10FFFF) {
            wide += static_cast<wchar_t>(lead);
            i++;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            wide += static_cast<wchar_t>(0xD800 | code >> 10);
            wide += static_cast<wchar_t>(0xDC00 | (code & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
        i += static_cast<size_t>(more) + 1;
    }
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (wchar_t unit : wide) AppendUtf8(utf8, static_cast<unsigned>(unit));
    return utf8;
}

std::wstring FullPath(const std::string& utf8) {
    std::wstring wide = WideFromUtf8(utf8);
    if (wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::wstring();
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (size == 0 || size >= full.size()) return std::wstring();
    full.resize(size);
    return full;
}

std::wstring LongForm(const std::wstring& full) {
    // Below MAX_PATH, less the room an 8.3 name may need, the plain form is
    // what every function (and a player reading a message) expects.
    if (full.size() < MAX_PATH - 12 || full.rfind(L"\\\\?\\", 0) == 0) return full;
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
    return L"\\\\?\\" + full;
}

std::wstring WidePath(const std::string& utf8) {
    std::wstring full = FullPath(utf8);
    return full.empty() ? WideFromUtf8(utf8) : LongForm(full);
}
