// Raises one processor fault while another thread holds the lock of every
// heap in the process, as if it had been allocating when the fault came. A
// fault path that allocated would wait on that lock for ever; one that does
// not prints its message and ends. "handled" instead raises faults that the
// process deals with itself, which must not end it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/errors.h"

namespace {

volatile int zero = 0;
HANDLE heapsLocked = nullptr;

DWORD WINAPI HoldEveryHeap(void*) {
    HANDLE heaps[256];
    DWORD count = GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < count && i < 256; i++) HeapLock(heaps[i]);
    SetEvent(heapsLocked);
    Sleep(INFINITE);
    return 0;
}

// Each call keeps a page of its own on the stack, so the recursion reaches the
// guard page whatever the optimiser does with the rest. The volatile test
// keeps the compiler from calling it endless and refusing it.
int Recurse(int depth) {
    volatile char page[4096];
    page[depth % sizeof page] = static_cast<char>(depth);
    if (zero != 0) return page[0];
    return Recurse(depth + 1) + page[0];
}

// Like a frame's __except around a memory probe: the handler, added after the
// translator, takes the thread back to where the probe was armed.
CONTEXT armedAt;
volatile bool armed = false;
volatile int recovered = 0;

LONG CALLBACK RecoverArmedFault(EXCEPTION_POINTERS* info) {
    if (!armed || info->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    armed = false;
    recovered = recovered + 1;
    *info->ContextRecord = armedAt;
    return EXCEPTION_CONTINUE_EXECUTION;
}

int HandledFaults() {
    // The system's own probe handles its fault inside the call.
    if (!IsBadReadPtr(nullptr, 1)) return 6;
    AddVectoredExceptionHandler(0, RecoverArmedFault);
    RtlCaptureContext(&armedAt);
    if (recovered == 0) {
        armed = true;
        return *reinterpret_cast<volatile int*>(zero);
    }
    std::printf("went on after %d handled faults\n", recovered + 1);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    InstallFaultHandlers();
    // An address the "@" command may describe (only compared, never followed).
    RegisterLiveObject(reinterpret_cast<const void*>(uintptr_t{0x5eed0}));
    const char* what = argv[1];
    if (!strcmp(what, "handled")) return HandledFaults();
    heapsLocked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, HoldEveryHeap, nullptr, 0, nullptr);
    WaitForSingleObject(heapsLocked, INFINITE);
    if (!strcmp(what, "null")) return *reinterpret_cast<volatile int*>(zero);
    if (!strcmp(what, "divide")) return 7 / zero;
    if (!strcmp(what, "overflow")) return Recurse(zero);
    // The probe's own check: an allocation now must wait for ever.
    if (!strcmp(what, "allocate")) return malloc(static_cast<size_t>(argc) * 24) ? 4 : 5;
    return 3;
}
