#include "core/errors.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os/os.h"

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
    if (message.empty()) os::EndProcessNow(0);  // quiet end: nothing printed, nothing saved
    std::string narrow = Narrow(message);
    RuntimeError(narrow.c_str());
}

namespace {

// Set on the way from a processor fault: stdio is left alone then. Its locks
// may be held by the thread that faulted, and on Windows the C runtime makes
// them (on the heap) on first use. What Print wrote was flushed at once.
bool reportingFault = false;

// Whether the debug-stop variable asks for the stop: -1 until it is read,
// which the fault translator's installation does, so that no fault needs
// the environment (Windows' C runtime locks it, making the lock on the heap).
int debugStopSwitch = -1;

// Ends the process at once; output was flushed line by line already.
[[noreturn]] void EndProcess(int status) {
    if (!reportingFault) {
        fflush(stdout);
        fflush(stderr);
    }
    os::EndProcessNow(status);
}

// Objects the "@" command may describe; anything else is an unknown address.
std::array<const void*, 64> liveObjects{};

// The runtime error may run inside a fault handler, perhaps while another
// thread holds the allocator's lock: from here on nothing may allocate, so
// the stop talks to the standard streams directly instead of through stdio
// (whose buffers the C library allocates on first use).
constexpr os::StdStream kOut = os::StdStream::Output;
constexpr os::StdStream kErr = os::StdStream::Error;

void WriteText(os::StdStream stream, const char* text) {
    os::WriteStd(stream, text, strlen(text));
}

// Reads one line into `line`; false when nothing came or the line has no end
// within 255 characters.
bool ReadDebugLine(char (&line)[256]) {
    size_t n = 0;
    while (n < sizeof line - 1) {
        int c = os::ReadStdinByte();
        if (c < 0) return false;
        if (c == '\n') {
            if (n > 0 && line[n - 1] == '\r') n--;
            line[n] = '\0';
            return true;
        }
        line[n++] = static_cast<char>(c);
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

// A player who started the game from the desktop reads no printed line. Not
// from a fault (the box allocates), and not when a debugger takes the stop.
void ShowUnlessDebugging(const char* message) {
    if (!reportingFault && !DebugStopWanted()) os::ShowFailure(message);
}

// The stop in which a debugger could take over. Returns when told to go on.
void DebugStop() {
    WriteText(kErr, "{{~~(null)~~}}\n\n");
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
                WriteText(kErr, DescribeObjectAt(ParseHexAddress(line + 1)));
                WriteText(kErr, "\n");
                continue;
            case 'e':
            case 'l':
            case 'r':
            case 's':
                return;
            case 'q':
                EndProcess(0);
            default:
                WriteText(kOut, "????? ");
                WriteText(kOut, line);
                WriteText(kOut, " ?????");
                EndProcess(-1);
        }
    }
}

}  // namespace

bool DebugStopWanted() {
    if (debugStopSwitch < 0) {
        const char* forced = getenv(kDebugStopVariable);
        debugStopSwitch = forced && forced[0] != '\0' && strcmp(forced, "0") != 0;
    }
    return debugStopSwitch == 1 || os::DebuggerAttached();
}

void RuntimeErrorFromFault(const char* message) {
    reportingFault = true;
    RuntimeError(message);
}

void RuntimeError(const char* message) {
    if (!reportingFault) fflush(stdout);  // what was printed before comes first
    for (;;) {
        WriteText(kOut, "Vorlek Runtime Error : ");
        WriteText(kOut, message);
        WriteText(kOut, "\n\n");  // no source position is ever recorded
        ShowUnlessDebugging(message);
        DebugStop();
    }
}

void ReportUncaughtThrowable() {
    Print("Vorlek Runtime Error : Uncaught Vorlek Exception");
    ShowUnlessDebugging("Uncaught Vorlek Exception");
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
