/* The C++ runtime linked into the portable build was made for glibc 2.36 and
   draws std::random_device from its arc4random, which older systems lack. The
   program (and OpenAL Soft, which links the same runtime) brings its own, from
   the kernel as glibc's is, so that it asks nothing of glibc past 2.34. Hidden,
   so that a library carrying it does not hand it to the rest of the process. */
#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/random.h>

__attribute__((visibility("hidden"))) uint32_t arc4random(void) {
    uint32_t value = 0;
    unsigned char* bytes = (unsigned char*)&value;
    size_t got = 0;
    while (got < sizeof value) {
        ssize_t n = getrandom(bytes + got, sizeof value - got, 0);
        if (n > 0) {
            got += (size_t)n;
        } else if (n < 0 && errno != EINTR) {
            abort(); /* as glibc's does: there is no way to report a failure */
        }
    }
    return value;
}
