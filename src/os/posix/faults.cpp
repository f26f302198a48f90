// The processor-fault translator on POSIX: fault signals, caught on a stack
// of their own so that a stack overflow can still be reported.
#include <signal.h>
#include <sys/resource.h>

#include <cstdint>

#include "os/os.h"

namespace {

os::FaultHandler onFault = nullptr;
// The main stack: an address near its top and how far it may grow.
struct StackBounds {
    uintptr_t top = 0;
    uintptr_t limit = 0;
} mainStack;
alignas(16) char alternateStack[64 * 1024];

bool IsStackOverflow(const siginfo_t* info) {
    const uintptr_t top = mainStack.top, limit = mainStack.limit;
    if (top == 0) return false;
    uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    uintptr_t lowest = top > limit ? top - limit : 0;
    return address < top && address + 256 * 1024 >= lowest;
}

os::Fault Classify(int signal, const siginfo_t* info) {
    switch (signal) {
        case SIGSEGV:
        case SIGBUS:
            return IsStackOverflow(info) ? os::Fault::StackOverflow : os::Fault::AccessViolation;
        case SIGILL:
            return os::Fault::IllegalInstruction;
        case SIGFPE:  // si_code tells integer from floating-point division
            return info->si_code == FPE_INTDIV ? os::Fault::IntegerDivideByZero : os::Fault::Other;
        default:
            return os::Fault::Other;
    }
}

void OnSignal(int signal, siginfo_t* info, void*) {
    onFault(Classify(signal, info));
}

}  // namespace

void os::InstallFaultTranslator(FaultHandler handler) {
    onFault = handler;
    int marker = 0;
    mainStack.top = reinterpret_cast<uintptr_t>(&marker);
    rlimit limit{};
    getrlimit(RLIMIT_STACK, &limit);
    mainStack.limit = limit.rlim_cur == RLIM_INFINITY ? (64u << 20) : limit.rlim_cur;

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = OnSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGSEGV, SIGBUS, SIGILL, SIGFPE}) sigaction(s, &action, nullptr);
}
