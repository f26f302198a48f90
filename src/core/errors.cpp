#include "core/errors.h"

#include <signal.h>
#include <sys/resource.h>
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

// Reads one line into `line`; false when nothing came or the line has no end.
bool ReadDebugLine(char (&line)[256]) {
    if (!fgets(line, sizeof line, stdin)) return false;
    size_t n = strlen(line);
    if (n == 0 || line[n - 1] != '\n') return false;
    line[n - 1] = '\0';
    if (n >= 2 && line[n - 2] == '\r') line[n - 2] = '\0';
    return true;
}

// The stop in which a debugger could take over. Returns when told to go on.
void DebugStop() {
    fprintf(stderr, "{{~~%s~~}}\n", "(null)");
    fputc('\n', stderr);
    fflush(stderr);
    char line[256];
    for (;;) {
        if (!ReadDebugLine(line)) EndProcess(-1);
        switch (line[0]) {
            case '?':
                continue;
            case '@': {
                uintptr_t address = strtoull(line + 1, nullptr, 16);
                std::string description = DescribeObjectAt(address);
                fprintf(stderr, "%s\n", description.c_str());
                fflush(stderr);
                continue;
            }
            case 'e':
            case 'l':
            case 'r':
            case 's':
                return;
            case 'q':
                EndProcess(0);
            default:
                printf("????? %s ?????", line);
                fflush(stdout);
                EndProcess(-1);
        }
    }
}

}  // namespace

void RuntimeError(const char* message) {
    for (;;) {
        printf("Vorlek Runtime Error : %s\n", message);
        printf("\n");  // no source position is ever recorded
        fflush(stdout);
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

std::string DescribeObjectAt(uintptr_t address) {
    if (address == 0) return "";
    for (const void* slot : liveObjects)
        if (slot && reinterpret_cast<uintptr_t>(slot) == address) return "+Object\n";
    return "";  // never follow an address we cannot vouch for
}

const char* FaultMessage(int signal, int code, bool stackOverflow) {
    if (stackOverflow) return "Stack overflow";
    switch (signal) {
        case SIGSEGV:
        case SIGBUS:
            return "Memory access violation";
        case SIGILL:
            return "Illegal instruction";
        case SIGFPE:
            return code == FPE_INTDIV ? "Integer divide by zero" : "Unknown exception";
        default:
            return "Unknown exception";
    }
}

namespace {

uintptr_t stackTop = 0;    // an address near the top of the main stack
uintptr_t stackLimit = 0;  // how far the main stack may grow
alignas(16) char alternateStack[64 * 1024];

bool IsStackOverflow(const siginfo_t* info) {
    if (stackTop == 0) return false;
    uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    uintptr_t lowest = stackTop > stackLimit ? stackTop - stackLimit : 0;
    return address < stackTop && address + 256 * 1024 >= lowest;
}

void OnFault(int signal, siginfo_t* info, void*) {
    bool overflow = (signal == SIGSEGV || signal == SIGBUS) && IsStackOverflow(info);
    RuntimeError(FaultMessage(signal, info->si_code, overflow));
}

}  // namespace

void InstallFaultHandlers() {
    int marker = 0;
    stackTop = reinterpret_cast<uintptr_t>(&marker);
    rlimit limit{};
    getrlimit(RLIMIT_STACK, &limit);
    stackLimit = limit.rlim_cur == RLIM_INFINITY ? (64u << 20) : limit.rlim_cur;

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGSEGV, SIGBUS, SIGILL, SIGFPE}) sigaction(s, &action, nullptr);
}
