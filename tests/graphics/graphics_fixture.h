// Shared set-up for graphics tests: a test platform, a renderer on the
// counting backend, the drawing state reset, and PNG files made on the spot.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/context.h"
#include "graphics/renderer.h"
#include "support/test_platform.h"

// Writes a PNG with `comp` bytes per pixel into `dir`; returns its path.
inline std::string WritePng(const std::string& dir, const std::string& name, int w, int h, int comp,
                            const std::vector<uint8_t>& pixels) {
    std::string path = dir + "/" + name;
    EXPECT_NE(stbi_write_png(path.c_str(), w, h, comp, pixels.data(), w * comp), 0);
    return path;
}

// A w×h image of one repeated pixel.
inline std::vector<uint8_t> Fill(int w, int h, std::vector<uint8_t> pixel) {
    std::vector<uint8_t> out;
    for (int i = 0; i < w * h; i++) out.insert(out.end(), pixel.begin(), pixel.end());
    return out;
}

class HeadlessGraphics : public ::testing::Test {
  protected:
    void SetUp() override {
        *GraphicsContext() = c_GraphicsContext{};
        platform.dataDir = platform.tempDir;
        SetGraphicsDevice(&graphics);
        graphics.FrameBegin();
        BeginRenderState();
    }
    void TearDown() override {
        EndRenderState();
        SetGraphicsDevice(nullptr);
        *GraphicsContext() = c_GraphicsContext{};
    }
    NullGlBackend& Null() { return *static_cast<NullGlBackend*>(graphics.Backend()); }
    std::string Png(const std::string& name, int w, int h, int comp,
                    const std::vector<uint8_t>& pixels) {
        return WritePng(platform.tempDir, name, w, h, comp, pixels);
    }

    TestPlatform platform;
    PlGraphics graphics{std::make_unique<NullGlBackend>(), &platform, &platform};
};
