// The processor-fault translator on POSIX: fault signals become runtime errors.
// Desktop only; a browser has no signals (the web build leaves this file out).
#include <signal.h>
#include <sys/resource.h>

#include <cstdint>

#include "core/errors.h"

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
