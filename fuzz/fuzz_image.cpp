// Arbitrary bytes as a picture file, decoded into a surface and uploaded to
// the counting backend: zero sizes, huge sizes and truncation must all be
// refused cleanly.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "graphics/renderer.h"
#include "platform/headless/headless_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string folder = [] {
        char name[] = "/tmp/bw-fuzz-image-XXXXXX";
        return std::string(mkdtemp(name) ? name : "/tmp");
    }();
    static PlHeadlessGame platform(folder, folder + "/.vorlekstate");
    static PlGraphics graphics(std::make_unique<NullGlBackend>(), &platform);
    std::string path = folder + "/x.png";
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return 0;
    fwrite(data, 1, size, file);
    fclose(file);
    std::shared_ptr<PlSurface> surface = graphics.SurfaceFromFile(Widen(path));
    if (surface && (surface->Width() <= 0 || surface->Height() <= 0)) abort();
    return 0;
}
