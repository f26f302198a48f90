#include "core/errors.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void Print(StringView text) {
    std::string narrow = Narrow(text);
    fwrite(narrow.data(), 1, narrow.size(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

void Print(const char* text) {
    fputs(text, stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

void Error(StringView message) {
    if (message.empty()) _exit(0);  // quiet end: nothing printed, nothing saved
    std::string narrow = Narrow(message);
    RuntimeError(narrow.c_str());
}

namespace {

// Ends the process at once; output was flushed line by line already.
[[noreturn]] void EndProcess(int status) {
    fflush(stdout);
    fflush(stderr);
    _exit(status);
}

// Objects the "@" command may describe; anything else is an unknown address.
std::array<const void*, 64> liveObjects{};

// The runtime error may run inside a fault handler, perhaps while another
// thread holds the allocator's lock: from here on nothing may allocate, so
// the stop talks to the descriptors directly instead of through stdio (whose
// buffers glibc allocates on first use).
void WriteAll(int fd, const char* text, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, text, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text += n;
        size -= static_cast<size_t>(n);
    }
}

void WriteText(int fd, const char* text) {
    WriteAll(fd, text, strlen(text));
}

// Reads one line into `line`; false when nothing came or the line has no end
// within 255 characters.
bool ReadDebugLine(char (&line)[256]) {
    size_t n = 0;
    while (n < sizeof line - 1) {
        char c = 0;
        ssize_t got = read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        if (c == '\n') {
            if (n > 0 && line[n - 1] == '\r') n--;
            line[n] = '\0';
            return true;
        }
        line[n++] = c;
    }
    return false;
}

// Hexadecimal digits up to the first other character, as the debugger writes them.
uintptr_t ParseHexAddress(const char* text) {
    while (*text == ' ') text++;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text += 2;
    uintptr_t value = 0;
    for (;; text++) {
        char c = *text;
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) return value;
        value = value << 4 | static_cast<uintptr_t>(digit);
    }
}

// The stop in which a debugger could take over. Returns when told to go on.
void DebugStop() {
    WriteText(STDERR_FILENO, "{{~~(null)~~}}\n\n");
    // Nobody can answer from a terminal or a closed input: waiting there would
    // freeze the window for good, so the stop only listens for a debugger.
    if (!DebugStopWanted()) EndProcess(-1);
    char line[256];
    for (;;) {
        if (!ReadDebugLine(line)) EndProcess(-1);
        switch (line[0]) {
            case '?':
                continue;
            case '@':
                WriteText(STDERR_FILENO, DescribeObjectAt(ParseHexAddress(line + 1)));
                WriteText(STDERR_FILENO, "\n");
                continue;
            case 'e':
            case 'l':
            case 'r':
            case 's':
                return;
            case 'q':
                EndProcess(0);
            default:
                WriteText(STDOUT_FILENO, "????? ");
                WriteText(STDOUT_FILENO, line);
                WriteText(STDOUT_FILENO, " ?????");
                EndProcess(-1);
        }
    }
}

}  // namespace

bool DebuggerAttached() {
    int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char text[4096];
    size_t size = 0;
    while (size < sizeof text - 1) {
        ssize_t n = read(fd, text + size, sizeof text - 1 - size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        size += static_cast<size_t>(n);
    }
    close(fd);
    text[size] = '\0';
    const char* field = strstr(text, "TracerPid:");
    if (!field) return false;
    for (field += 10; *field == ' ' || *field == '\t'; field++) {
    }
    return *field >= '1' && *field <= '9';
}

bool DebugStopWanted() {
    const char* forced = getenv(kDebugStopVariable);
    if (forced && forced[0] != '\0' && strcmp(forced, "0") != 0) return true;
    return DebuggerAttached();
}

void RuntimeError(const char* message) {
    fflush(stdout);  // what was printed before comes first
    for (;;) {
        WriteText(STDOUT_FILENO, "Vorlek Runtime Error : ");
        WriteText(STDOUT_FILENO, message);
        WriteText(STDOUT_FILENO, "\n\n");  // no source position is ever recorded
        DebugStop();
    }
}

void ReportUncaughtThrowable() {
    Print("Vorlek Runtime Error : Uncaught Vorlek Exception");
    EndProcess(-1);
}

void RegisterLiveObject(const void* object) {
    for (auto& slot : liveObjects) {
        if (!slot) {
            slot = object;
            return;
        }
    }
}

void UnregisterLiveObject(const void* object) {
    for (auto& slot : liveObjects)
        if (slot == object) slot = nullptr;
}

const char* DescribeObjectAt(uintptr_t address) {
    if (address == 0) return "";
    for (const void* slot : liveObjects)
        if (slot && reinterpret_cast<uintptr_t>(slot) == address) return "+Object\n";
    return "";  // never follow an address we cannot vouch for
}
