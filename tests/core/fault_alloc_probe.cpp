// Raises one processor fault and reports every heap allocation made after it,
// up to the exit, on standard error. The fault path must make none: another
// thread might hold the allocator's lock when the fault comes.
//
// It replaces malloc and its relatives (glibc's own stdio calls reach these),
// so it cannot be built with the sanitizers, which bring allocators of their own.
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/errors.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

namespace {

volatile sig_atomic_t watching = 0;
volatile int zero = 0;

void Note() {
    if (!watching) return;
    static const char kLine[] = "[heap allocation after the fault]\n";
    ssize_t ignored = write(STDERR_FILENO, kLine, sizeof kLine - 1);
    (void)ignored;
}

}  // namespace

extern "C" {
void* malloc(size_t size) {
    Note();
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    Note();
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    Note();
    return __libc_realloc(p, size);
}
void* memalign(size_t alignment, size_t size) {
    Note();
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) {
    Note();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) {
    Note();
    void* p = __libc_memalign(alignment, size);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}
void free(void* p) {
    __libc_free(p);
}
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    InstallFaultHandlers();
    // An address the "@" command may describe (only compared, never followed).
    RegisterLiveObject(reinterpret_cast<const void*>(uintptr_t{0x5eed0}));
    const char* what = argv[1];
    watching = 1;
    if (!strcmp(what, "null")) return *reinterpret_cast<volatile int*>(zero);
    if (!strcmp(what, "divide")) return 7 / zero;
    return 3;
}
