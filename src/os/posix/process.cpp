// The process on POSIX: raw standard streams for the fatal path, the
// debugger check, local time and the desktop's "open".
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "os/os.h"

namespace os {

// The fatal path may run inside a fault handler, perhaps while another thread
// holds the allocator's lock: these talk to the descriptors directly instead
// of through stdio (whose buffers the C library allocates on first use).
void WriteStd(StdStream stream, const char* bytes, size_t size) {
    int fd = stream == StdStream::Output ? STDOUT_FILENO : STDERR_FILENO;
    while (size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
}

int ReadStdinByte() {
    for (;;) {
        unsigned char c = 0;
        ssize_t got = read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        return got == 1 ? c : -1;
    }
}

void EndProcessNow(int status) {
    _exit(status);
}

// A tracer (gdb, strace) shows as a non-zero TracerPid in /proc/self/status.
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

bool LocalTime(std::time_t when, std::tm* out) {
    return localtime_r(&when, out) != nullptr;
}

// The printed line is what a terminal or a desktop's log shows.
bool ShowFailure(const std::string&) {
    return false;
}

bool ShellOpen(const std::string& target) {
    // The desktop's "open" verb: hand the target to xdg-open, detached.
    std::string quoted = target;
    for (char& c : quoted)
        if (c == '\'') c = '_';
    std::string command = "xdg-open '" + quoted + "' >/dev/null 2>&1 &";
    return system(command.c_str()) == 0;
}

}  // namespace os
