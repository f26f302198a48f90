// The process on Windows: raw standard handles for the fatal path, the
// debugger check, local time and the shell's "open".
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include "os/os.h"
#include "os/win32/wide.h"

namespace {

// Lines end in "\n" here as on the other systems, so what the game prints
// reads the same wherever it goes; text mode would add a "\r" to each.
const bool binaryOutput = [] {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return true;
}();

}  // namespace

namespace os {

// The fatal path may run inside a fault handler, perhaps while another thread
// holds the heap's lock: these talk to the handles directly instead of
// through stdio, which may allocate its buffers on first use.
void WriteStd(StdStream stream, const char* bytes, size_t size) {
    HANDLE handle =
        GetStdHandle(stream == StdStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    while (size > 0) {
        DWORD written = 0;
        DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) return;
        bytes += written;
        size -= written;
    }
}

int ReadStdinByte() {
    HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    unsigned char c = 0;
    DWORD got = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !ReadFile(handle, &c, 1, &got, nullptr) || got != 1)
        return -1;
    return c;
}

// At once, like _exit: no exit handlers, and no library's shutdown code,
// which a fault may have caught halfway through something.
void EndProcessNow(int status) {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    ExitProcess(static_cast<UINT>(status));  // only if termination was refused
}

bool DebuggerAttached() {
    return IsDebuggerPresent() != FALSE;
}

bool LocalTime(std::time_t when, std::tm* out) {
    return localtime_s(out, &when) == 0;
}

// A game started from the desktop has no standard error; under a console,
// a pipe or a file the printed line is read there and no box waits for a click.
bool ShowFailure(const std::string& message) {
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE &&
        GetFileType(handle) != FILE_TYPE_UNKNOWN)
        return false;
    MessageBoxW(nullptr, WideFromUtf8(message).c_str(), L"Brindlewick", MB_OK | MB_ICONERROR);
    return true;
}

bool ShellOpen(const std::string& target) {
    // The shell may hand the verb to COM objects, which want COM started on
    // this thread; a second start is harmless.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    HINSTANCE result = ShellExecuteW(nullptr, L"open", WideFromUtf8(target).c_str(), nullptr,
                                     nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;  // its way of saying it started
}

}  // namespace os
