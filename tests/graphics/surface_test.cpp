// Decoding PNG files into surfaces: premultiplied bytes, formats, the
// power-of-two fallback, and files that must not load.
#include <cstdio>
#include <fstream>

#include "graphics_fixture.h"
#include "support/exit_status.h"

using Surfaces = HeadlessGraphics;

TEST_F(Surfaces, RgbaIsPremultipliedAtUpload) {
    std::vector<uint8_t> px = Fill(100, 50, {200, 100, 50, 128});
    px[4 * 1 + 0] = 255, px[4 * 1 + 1] = 255, px[4 * 1 + 2] = 255, px[4 * 1 + 3] = 0;
    auto surface = graphics.SurfaceFromFile(Widen(Png("rgba.png", 100, 50, 4, px)));
    ASSERT_TRUE(surface);
    EXPECT_EQ(Null().lastFormat, GlFormat::Rgba);
    ASSERT_EQ(Null().lastUpload.size(), 100u * 50 * 4);
    EXPECT_EQ(std::vector<uint8_t>(Null().lastUpload.begin(), Null().lastUpload.begin() + 8),
              (std::vector<uint8_t>{100, 50, 25, 128, 0, 0, 0, 0}));
    EXPECT_EQ(surface->Width(), 100);
    EXPECT_EQ(surface->Height(), 50);
    EXPECT_FLOAT_EQ(surface->texScaleU, 1 / 100.0f);
    EXPECT_FLOAT_EQ(surface->texScaleV, 1 / 50.0f);
    EXPECT_FALSE(surface->data);  // no copy of the pixels stays in memory
    EXPECT_EQ(surface->IsReady(), 1);
}

TEST_F(Surfaces, RefusedSizesFallBackToPowersOfTwo) {
    Null().refuseNonPowerOfTwo = true;
    auto surface =
        graphics.SurfaceFromFile(Widen(Png("npot.png", 100, 50, 4, Fill(100, 50, {1, 2, 3, 255}))));
    ASSERT_TRUE(surface);
    EXPECT_EQ(Null().allocatedWidth, 128);
    EXPECT_EQ(Null().allocatedHeight, 64);
    EXPECT_FLOAT_EQ(surface->texScaleU, 1 / 128.0f);
    EXPECT_FLOAT_EQ(surface->texScaleV, 1 / 64.0f);
    EXPECT_EQ(surface->Width(), 100);  // the image keeps its own size
}

TEST_F(Surfaces, FormatFollowsTheFilesChannels) {
    struct Case {
        int comp;
        std::vector<uint8_t> pixel, uploaded;
        GlFormat format;
    } cases[] = {
        {1, {77}, {77}, GlFormat::Luminance},
        {2, {200, 128}, {100, 128}, GlFormat::LuminanceAlpha},
        {3, {9, 99, 199}, {9, 99, 199}, GlFormat::Rgb},
    };
    for (const Case& c : cases) {
        const std::string name = "c" + std::to_string(c.comp) + ".png";
        auto surface =
            graphics.SurfaceFromFile(Widen(Png(name, 3, 2, c.comp, Fill(3, 2, c.pixel))));
        ASSERT_TRUE(surface) << c.comp;
        EXPECT_EQ(surface->depth, c.comp);
        EXPECT_EQ(Null().lastFormat, c.format);
        EXPECT_EQ(Null().lastUpload, Fill(3, 2, c.uploaded)) << c.comp;
    }
}

TEST_F(Surfaces, UnreadableFilesGiveNone) {
    const std::string good = Png("good.png", 16, 16, 4, Fill(16, 16, {1, 2, 3, 4}));
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string dir = platform.tempDir + "/";
    std::ofstream(dir + "truncated.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    std::ofstream(dir + "empty.png", std::ios::binary);
    std::ofstream(dir + "text.png") << "this is not a picture\n";
    for (const char* name : {"truncated.png", "empty.png", "text.png", "missing.png"}) {
        EXPECT_FALSE(graphics.SurfaceFromFile(Widen(dir + name))) << name;
        auto target = std::make_shared<PlSurface>(nullptr);
        target->width = 7;
        EXPECT_FALSE(graphics.DecodeIntoSurface(target, Widen(dir + name))) << name;
        EXPECT_EQ(target->width, 7);  // left untouched
    }
}

TEST_F(Surfaces, BlankSurfacesOfImpossibleSizesGiveNone) {
    auto blank = graphics.BlankSurface(64, 32);
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->depth, 4);
    EXPECT_FLOAT_EQ(blank->texScaleU, 1 / 64.0f);
    EXPECT_FALSE(graphics.BlankSurface(0, 10));
    EXPECT_FALSE(graphics.BlankSurface(10, -3));
    EXPECT_FALSE(graphics.BlankSurface(100000, 4));  // refused at both sizes
    EXPECT_FALSE(graphics.BlankSurface(0x7FFFFFFF, 1));
    EXPECT_EQ(NextPowerOfTwo(0), 1);
    EXPECT_EQ(NextPowerOfTwo(1), 1);
    EXPECT_EQ(NextPowerOfTwo(100), 128);
    EXPECT_EQ(NextPowerOfTwo(0x7FFFFFFF), 0);
}

TEST_F(Surfaces, DiscardReleasesTheTextureOnce) {
    auto blank = graphics.BlankSurface(8, 8);
    ASSERT_TRUE(blank);
    const int deleted = Null().deletedTextures;
    blank->Discard();
    EXPECT_EQ(blank->texture, 0u);
    blank.reset();
    EXPECT_EQ(Null().deletedTextures, deleted + 1);
}

TEST_F(Surfaces, UploadWithAnImpossibleDepthEndsTheProgram) {
    PlSurface surface(nullptr);
    surface.width = surface.height = 1;
    surface.depth = 5;
    EXPECT_EXIT(surface.Upload(), EndedByRuntimeError, "");
}

// A lost GL context comes back empty: every surface still in use gets a new
// texture holding what it held, from its file again (premultiplied once,
// not twice), and the state cache assumes nothing of the new context.
TEST_F(Surfaces, ANewContextGetsEverySurfaceInUseBack) {
    std::vector<uint8_t> px = Fill(6, 4, {200, 100, 50, 128});
    px[0] = 255, px[3] = 0;
    const std::string gonePath = Png("gone.png", 5, 5, 3, Fill(5, 5, {9, 9, 9}));
    auto gone = graphics.SurfaceFromFile(Widen(gonePath));
    auto dropped = graphics.SurfaceFromFile(Widen(Png("dropped.png", 2, 2, 1, Fill(2, 2, {7}))));
    auto blank = graphics.BlankSurface(16, 8);
    auto sheet = graphics.SurfaceFromFile(Widen(Png("sheet.png", 6, 4, 4, px)));
    ASSERT_TRUE(gone && dropped && blank && sheet);
    const std::vector<uint8_t> firstUpload = Null().lastUpload;
    const uint32_t oldSheet = sheet->texture, oldBlank = blank->texture;
    dropped.reset();
    std::remove(gonePath.c_str());
    graphics.FrameBegin();
    graphics.FrameEnd();
    const GlCallCounts before = Null().Calls();

    graphics.GraphicsLost();
    const GlCallCounts& after = Null().Calls();
    EXPECT_EQ(after.contextsReplaced, before.contextsReplaced + 1);
    // Three surfaces in use get new names and storage; two files are read
    // again, the vanished one stays a clear texture rather than none.
    EXPECT_EQ(after.genTexture, before.genTexture + 3);
    EXPECT_EQ(after.texImage, before.texImage + 3);
    EXPECT_EQ(after.texSubImage, before.texSubImage + 1);
    EXPECT_EQ(after.deleteTexture, before.deleteTexture);  // old names died with the context
    EXPECT_NE(sheet->texture, oldSheet);
    EXPECT_NE(blank->texture, oldBlank);
    EXPECT_NE(gone->texture, 0u);
    EXPECT_EQ(Null().uploadedTexture, sheet->texture);
    EXPECT_EQ(Null().lastUpload, firstUpload);
    EXPECT_FALSE(sheet->data);
    EXPECT_FLOAT_EQ(sheet->texScaleU, 1 / 6.0f);

    // The next frame sets its state again and draws with the new names.
    graphics.FrameBegin();
    EXPECT_EQ(Null().Calls().viewport, before.viewport + 1);
    EXPECT_EQ(Null().Calls().blending, before.blending + 1);
    graphics.BlitSurface(sheet.get(), 0, 0);
    graphics.FrameEnd();
    EXPECT_EQ(Null().lastTexture, sheet->texture);
}
