// Song sheets decoded through a real GL context (Mesa under Xvfb): the cell
// values written into the picture come back through drawing and ReadPixels.
#include <dlfcn.h>
#include <stb_image_write.h>

#include <random>

#include "graphics/context.h"
#include "graphics/renderer.h"
#include "recording_player.h"
#include "support/gl_window.h"
#ifdef BW_HAS_SONG
#include "song.h"
#endif

namespace {

// GLFW and GLX open these libraries at run time and close them at glfwTerminate;
// kept loaded, what they still hold at exit stays reachable instead of showing
// as leaks from an unknown module under the leak checker.
const bool kDriversPinned = [] {
    for (const char* lib : {"libGL.so.1", "libGLX.so.0", "libGLX_mesa.so.0", "libXrandr.so.2",
                            "libXcursor.so.1", "libXi.so.6", "libXinerama.so.1", "libX11-xcb.so.1",
                            "libXxf86vm.so.1", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(lib, RTLD_NOW | RTLD_NODELETE);
    return true;
}();

constexpr int kFrame = 64;

class TuneSheetGl : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window.Ok());
        platform.glContext = true;
        graphics = std::make_unique<PlGraphics>(MakeOpenGlBackend(), &platform, &platform);
        SetGraphicsDevice(graphics.get());
    }
    void TearDown() override { SetGraphicsDevice(nullptr); }

    // Renders until loading is done; returns the number of renders.
    int LoadAll(c_TunePlayer& player) {
        player.loadCounter = 1;
        int renders = 0;
        while (player.loadCounter != 0 && renders < 100) {
            graphics->FrameBegin();
            BeginRenderState();
            player.RenderLoading();
            ReadPixels(screen, 0, 0, kFrame, kFrame, 0, kFrame);
            EndRenderState();
            graphics->FrameEnd();
            renders++;
        }
        return renders;
    }

    GlTestWindow window;
    TestPlatform platform;
    std::unique_ptr<PlGraphics> graphics;
    std::array<int32_t, kFrame * kFrame> screen{};
};

// A sheet of cellsX × cellsY frames; value(p, t, s, f) goes into blue's top bits.
template <typename F>
std::string WriteSheet(const std::string& dir, int cellsX, int cellsY, F value) {
    const int w = cellsX * kFrame, h = cellsY * kFrame;
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    std::mt19937 noise(5);
    for (int p = 0; p < cellsX * cellsY; p++) {
        for (int y = 0; y < kFrame; y++) {
            for (int x = 0; x < kFrame; x++) {
                uint8_t* px =
                    &rgba[(size_t((p / cellsX) * kFrame + y) * w + (p % cellsX) * kFrame + x) * 4];
                px[0] = uint8_t(noise());  // red and green carry nothing
                px[1] = uint8_t(noise());
                px[2] = uint8_t(value(p, x / 8, y, x % 8) << 3 | (noise() & 7));
                px[3] = 255;
            }
        }
    }
    const std::string path = dir + "/sheet.png";
    EXPECT_NE(stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4), 0);
    return path;
}

// Deterministic test data: sparse values, each track stopping at its own pattern.
int Value(int p, int t, int s, int f) {
    const std::array<int, 8> lastUsed = {63, 40, 62, 7, 0, 12, -1, 33};
    if (p > lastUsed[t]) return 0;
    const unsigned h = unsigned(p * 7919 + t * 104729 + s * 31 + f * 131) * 2654435761u;
    return (h >> 13) % 3 == 0 ? int((h >> 17) % 31) + 1 : 0;
}

TEST_F(TuneSheetGl, DecodesEveryCellOfTheSheetAndHidesTheDrawing) {
    RecordingPlayer player{&platform};
    player.sheetPath = Widen(WriteSheet(platform.tempDir, 8, 8, Value));
    EXPECT_EQ(LoadAll(player), 24);
    ASSERT_NE(player.sheet, nullptr);

    int mismatches = 0, nonZero = 0;
    for (int p = 0; p < 64; p++) {
        for (int t = 0; t < 8; t++) {
            for (int s = 0; s < 64; s++) {
                for (int f = 0; f < 8; f++) {
                    // Pattern 63 is never read.
                    const int want = p == 63 ? 0 : Value(p, t, s, f);
                    const int got = player.song[c_TunePlayer::SongIndex(p, t, s, f)];
                    if (got != want && mismatches++ < 5)
                        ADD_FAILURE() << "p" << p << " t" << t << " s" << s << " f" << f << ": "
                                      << got << " != " << want;
                    nonZero += want != 0;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(nonZero, 10000);
    EXPECT_EQ(player.lastPattern, (std::array<int32_t, 8>{62, 40, 62, 7, 0, 12, 0, 33}));
    for (int32_t pixel : screen) ASSERT_EQ(pixel & 0xFFFFFF, 0) << "the sheet showed";
}

TEST_F(TuneSheetGl, SmallSheetGivesFewerPatterns) {
    RecordingPlayer player{&platform};
    player.sheetPath = Widen(WriteSheet(platform.tempDir, 3, 1, Value));
    LoadAll(player);
    ASSERT_NE(player.sheet, nullptr);
    EXPECT_EQ(player.sheet->FrameCount(), 3);
    EXPECT_EQ(player.song[c_TunePlayer::SongIndex(2, 0, 9, 1)], Value(2, 0, 9, 1));
    EXPECT_EQ(player.lastPattern[0], 2);
    for (int i = c_TunePlayer::SongIndex(3, 0, 0, 0); i < c_TunePlayer::kSongSize; i++)
        ASSERT_EQ(player.song[i], 0);
}

#ifdef BW_HAS_SONG
TEST_F(TuneSheetGl, GeneratedSongSheetHoldsTheGeneratorsSong) {
    const std::string path = std::string(BW_DATA_DIR) + "/music/brindle-song.png";
    RecordingPlayer player{&platform};
    player.sheetPath = Widen(path);
    LoadAll(player);
    ASSERT_NE(player.sheet, nullptr) << path << " missing: build song_data";

    const songgen::Song song = songgen::BuildSong();
    for (int p = 0; p < 63; p++)
        for (int t = 0; t < 8; t++)
            for (int s = 0; s < 64; s++)
                for (int f = 0; f < 8; f++)
                    ASSERT_EQ(player.song[c_TunePlayer::SongIndex(p, t, s, f)], song.At(p, t, s, f))
                        << "p" << p << " t" << t << " s" << s << " f" << f;
    // Every track has something to play, drums in more than one pattern.
    for (int t = 0; t < 5; t++) EXPECT_GE(player.lastPattern[t], 2) << "track " << t;
}
#endif

}  // namespace
