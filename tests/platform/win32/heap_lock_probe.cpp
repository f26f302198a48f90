// Raises one processor fault while another thread holds the lock of every
// heap in the process, as if it had been allocating when the fault came. A
// fault path that allocated would wait on that lock for ever; one that does
// not prints its message and ends.
#include <windows.h>

#include <cstdint>
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    InstallFaultHandlers();
    // An address the "@" command may describe (only compared, never followed).
    RegisterLiveObject(reinterpret_cast<const void*>(uintptr_t{0x5eed0}));
    const char* what = argv[1];
    heapsLocked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, HoldEveryHeap, nullptr, 0, nullptr);
    WaitForSingleObject(heapsLocked, INFINITE);
    if (!strcmp(what, "null")) return *reinterpret_cast<volatile int*>(zero);
    if (!strcmp(what, "divide")) return 7 / zero;
    // The probe's own check: an allocation now must wait for ever.
    if (!strcmp(what, "allocate")) return malloc(static_cast<size_t>(argc) * 24) ? 4 : 5;
    return 3;
}
