// The renderer on its two views of the platform alone: a fake presenter and
// file opener stand in for a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "graphics/gl_backend.h"
#include "graphics/renderer.h"
#include "platform/views.h"

namespace {

struct FakePresenter : Presenter {
    bool HasGlContext() override { return glContext; }
    int WindowWidth() override { return width; }
    int WindowHeight() override { return height; }
    int FramebufferWidth() override { return pixelWidth; }
    int FramebufferHeight() override { return pixelHeight; }
    void SwapBuffers() override { ++swaps; }

    bool glContext = true;
    int width = 640, height = 480, pixelWidth = 1280, pixelHeight = 960;
    int swaps = 0;
};

// Hands out a temporary file with the given bytes, or nothing.
struct FakeOpener : FileOpener {
    FileHandle OpenFile(StringView path, const char* mode) override {
        asked.push_back(Narrow(path));
        if (!present) return nullptr;
        FileHandle file(std::tmpfile());
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
        std::rewind(file.get());
        return file;
    }
    int LateFileArrivals() override { return -1; }

    bool present = false;
    std::string bytes;
    std::vector<std::string> asked;
};

TEST(RendererViews, SizesComeFromThePresenterAndEachFrameIsSwappedOnce) {
    FakePresenter presenter;
    PlGraphics graphics(std::make_unique<NullGlBackend>(), &presenter);
    EXPECT_EQ(graphics.Width(), 640);  // known from the start, before any frame
    EXPECT_EQ(graphics.PixelWidth(), 1280);
    presenter.width = 800;  // the window resized between frames
    presenter.pixelWidth = 800;
    graphics.FrameBegin();
    EXPECT_EQ(graphics.Width(), 800);
    EXPECT_EQ(graphics.PixelWidth(), 800);
    EXPECT_EQ(presenter.swaps, 0);
    graphics.FrameEnd();
    graphics.FrameBegin();
    graphics.FrameEnd();
    EXPECT_EQ(presenter.swaps, 2);
}

TEST(RendererViews, NoContextMeansNoSwapAndAZeroSizeKeepsTheLastOne) {
    FakePresenter presenter;
    PlGraphics graphics(std::make_unique<NullGlBackend>(), &presenter);
    graphics.FrameBegin();
    presenter.glContext = false;  // the context went (a lost WebGL canvas)
    presenter.width = presenter.height = presenter.pixelWidth = presenter.pixelHeight = 0;
    graphics.FrameBegin();
    graphics.FrameEnd();
    EXPECT_EQ(presenter.swaps, 0);
    EXPECT_EQ(graphics.Width(), 640);
    EXPECT_EQ(graphics.Height(), 480);
}

TEST(RendererViews, PictureFilesComeOnlyThroughTheOpener) {
    FakePresenter presenter;
    FakeOpener opener;
    PlGraphics graphics(std::make_unique<NullGlBackend>(), &presenter, &opener);
    EXPECT_EQ(graphics.SurfaceFromFile(u"pictures/absent.png"), nullptr);
    opener.present = true;
    opener.bytes = "not a picture";
    EXPECT_EQ(graphics.SurfaceFromFile(u"pictures/garbled.png"), nullptr);
    EXPECT_EQ(opener.asked,
              (std::vector<std::string>{"pictures/absent.png", "pictures/garbled.png"}));
    // Without an opener nothing is read, and nothing breaks.
    PlGraphics blind(std::make_unique<NullGlBackend>(), &presenter);
    EXPECT_EQ(blind.SurfaceFromFile(u"pictures/absent.png"), nullptr);
}

}  // namespace
