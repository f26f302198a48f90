// The operating system as the game meets it: everything that differs between
// Linux (with the browser, which has a POSIX layer too) and Windows. Each
// system implements it once, in os/posix or os/win32, and CMake
// picks the folder. It sits below core, so the fatal path can use it as well.
// Names and paths are UTF-8 throughout; Windows turns them into UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace os {

// ---- Files ----

// Opens a file by its UTF-8 name, always in binary mode ("rb", "wb", ...).
// Null when it cannot be opened.
FILE* OpenFile(const std::string& path, const char* mode);

// Size of an open regular file in bytes; -1 for anything else (a pipe, a
// device) or when the system cannot tell.
int64_t RegularFileSize(FILE* file);

bool IsRegularFile(const std::string& path);

// Atomic save: a temporary file of its own beside the target, flushed to the
// disk, then moved over the target, so a crash leaves the old file or the new
// one, never a torn one. Where no file can be made in that folder, the target
// itself is rewritten in place. 0 written; -1 cannot be opened; -2 not every
// byte written or the target cannot be replaced (the old file untouched,
// except in place). A read-only target is replaced all the same, and left
// writable: a save its owner cannot write again is a lost save.
int WriteFileAtomically(const std::string& path, const std::string& bytes);

// Creates a folder and its missing parents (new ones private to the user
// where the system has such a thing). True when the folder exists afterwards.
bool MakeFolders(const std::string& folder);

// ---- Where the game lives ----

// A data folder this copy of the game may use, and where its saves go then
// (empty: the folder the game was started from). Folders end in a separator.
struct DataFolderChoice {
    std::string dataFolder;
    std::string stateFolder;
};

// The data folders to search, in order, for this process.
std::vector<DataFolderChoice> DataFolderChoices();

// ---- Time and the desktop ----

// The local time of day for `when`; false when the system cannot convert it.
bool LocalTime(std::time_t when, std::tm* out);

// Asks the desktop to "open" a URL or file, detached from the game. False
// when it could not even be handed over.
bool ShellOpen(const std::string& target);

// A failure that ends the game, already printed: shown in a message box too
// where the process has no standard error to read (a game started from the
// Windows desktop). It may allocate, so never on a fault's way out. True when
// a box was shown.
bool ShowFailure(const std::string& message);

// ---- Waiting ----

// How the frame loop's waits are timed on this system.
enum class WaitTimer {
    Exact,           // the system's sleep ends when asked (Linux, the browser)
    HighResolution,  // a high-resolution waitable timer (Windows 10 1803 on)
    OneMsPeriod,     // the system timer's period lowered to 1 ms for the game's life
    SystemTick,      // neither to be had: the system tick (15.6 ms on Windows)
};

// Sleeps the calling thread for `ms` milliseconds (not at all for 0 or less),
// ending within about a millisecond of that where the system allows. Meant
// for the one thread that runs the frame loop.
void SleepMs(int ms);

// The timer SleepMs uses (chosen at the first call).
WaitTimer SleepTimer();

// ---- The fatal path: nothing here allocates ----

enum class StdStream { Output, Error };

// Writes bytes straight to standard output or error, unbuffered.
void WriteStd(StdStream stream, const char* bytes, size_t size);

// One byte of standard input, or -1 at its end or on an error.
int ReadStdinByte();

// Ends the process at once with the status: no exit handlers, no flushing.
[[noreturn]] void EndProcessNow(int status);

// True when a debugger is attached to the process.
bool DebuggerAttached();

// What a processor fault was, whatever the system calls it.
enum class Fault {
    AccessViolation,
    IllegalInstruction,
    IntegerDivideByZero,
    StackOverflow,
    Other,
};
using FaultHandler = void (*)(Fault fault);

// Installs the fault translator for the calling thread: a processor fault
// calls `handler`, which must not return. Faults found in a stack overflow
// still get their handler, on a stack kept in reserve.
void InstallFaultTranslator(FaultHandler handler);

}  // namespace os
