// The asset loader: resolution levels and file names, the 21-step table,
// missing files and the loading screen's turns.
#include <gtest/gtest.h>

#include "data_files.h"
#include "graphics/context.h"
#include "support/game_harness.h"

namespace {

// A data folder of its own, removed at the end.
class MadeData : public testing::Test {
  protected:
    ~MadeData() override { RemoveTree(dir); }
    std::string dir = MakeTempDir();
};

struct LevelCase {
    int width, height, level;
    const char* menuFile;
};

class ResolutionLevel : public MadeData, public testing::WithParamInterface<LevelCase> {};

// Every menu file is present at the size of its own level; the loaded
// surface's size tells which one was read.
TEST_P(ResolutionLevel, PicksTheMenuSheetForTheDevice) {
    const LevelCase& c = GetParam();
    ASSERT_TRUE(WriteGreyPng(dir, "menu.png", 512, 512));
    ASSERT_TRUE(WriteGreyPng(dir, "menu-hd.png", 1024, 1024));
    ASSERT_TRUE(WriteGreyPng(dir, "menu-hd2.png", 2048, 2048));
    GameHarness h(c.width, c.height, "", dir);
    h.FinishLoading();
    c_MyApp& app = h.App();
    EXPECT_EQ(app.media.resLevel, c.level);
    EXPECT_FLOAT_EQ(app.media.resScale, 1.0f / static_cast<float>(c.level));
    ASSERT_NE(app.media.imageTable[99], nullptr) << c.menuFile;
    EXPECT_EQ(app.media.imageTable[99]->surface->Width(), 512 * c.level) << c.menuFile;
    EXPECT_EQ(app.media.imageTable[99]->FrameCount(), 4);
    EXPECT_EQ(app.media.imageGeometry[3 * 99], 256 * c.level);
    EXPECT_EQ(app.media.imageGeometry[3 * 99 + 1], 256 * c.level);
    EXPECT_EQ(app.media.imageGeometry[3 * 99 + 2], 4);
}

INSTANTIATE_TEST_SUITE_P(Devices, ResolutionLevel,
                         testing::Values(LevelCase{630, 630, 1, "menu.png"},
                                         LevelCase{631, 480, 2, "menu-hd.png"},
                                         LevelCase{480, 631, 2, "menu-hd.png"},
                                         LevelCase{1230, 1230, 2, "menu-hd.png"},
                                         LevelCase{1280, 720, 4, "menu-hd2.png"},
                                         LevelCase{600, 1231, 4, "menu-hd2.png"}));

// A driver whose largest texture cannot hold a level's sheets gets the next
// smaller level it can hold; the counting backend refuses larger textures as
// GL does, so a level left too large would leave the slot empty.
TEST_F(MadeData, SheetsLargerThanTheLargestTextureFallBackALevel) {
    ASSERT_TRUE(WriteGreyPng(dir, "menu.png", 512, 512));
    ASSERT_TRUE(WriteGreyPng(dir, "menu-hd.png", 1024, 1024));
    ASSERT_TRUE(WriteGreyPng(dir, "menu-hd2.png", 2048, 2048));
    ASSERT_TRUE(WriteGreyPng(dir, "fonts/editundo-hd.png", 1200, 128));  // the font counts too
    GameHarness h(1280, 960, "", dir);
    h.FinishLoading();
    ASSERT_EQ(h.App().media.resLevel, 4);
    for (auto [maxTexture, level] : {std::pair{2047, 2}, std::pair{1100, 1}, std::pair{300, 1}}) {
        h.Backend()->maxTextureSize = maxTexture;
        h.Resize(1280 + maxTexture % 7, 960);  // a new size reloads every sheet
        h.FinishLoading();
        c_MyApp& app = h.App();
        EXPECT_EQ(app.media.resLevel, level) << maxTexture;
        EXPECT_FLOAT_EQ(app.media.resScale, 1.0f / static_cast<float>(level)) << maxTexture;
        EXPECT_EQ(app.media.imageGeometry[3 * 99], 256 * level) << maxTexture;
        if (512 * level <= maxTexture) {
            ASSERT_NE(app.media.imageTable[99], nullptr) << maxTexture;
            EXPECT_EQ(app.media.imageTable[99]->surface->Width(), 512 * level) << maxTexture;
        }
    }
    // The smallest level is the floor; the start check refuses such a driver.
    EXPECT_EQ(h.App().media.imageTable[99], nullptr);
    EXPECT_EQ(LargestSheetSide(&h.platform, 1), 512);
    EXPECT_EQ(LargestSheetSide(&h.platform, 2), 1200);
    EXPECT_EQ(LargestSheetSide(&h.platform, 4), 2048);
}

TEST_F(MadeData, SoundFilesAreNamedWithThreeDigits) {
    WriteWav(dir, "sfx/007.wav");
    WriteWav(dir, "sfx/095.wav");
    WriteWav(dir, "sfx/7.wav");  // decoys: only the padded names count
    WriteWav(dir, "sfx/0095.wav");
    GameHarness h(640, 480, "", dir);
    c_MyApp& app = h.App();
    app.loader.LoadSfx(7);
    app.loader.LoadSfx(95);
    app.loader.LoadSfx(70);
    EXPECT_NE(app.media.soundTable[7], nullptr);
    EXPECT_NE(app.media.soundTable[95], nullptr);
    EXPECT_EQ(app.media.soundTable[70], nullptr);
    app.loader.LoadSfx(100);  // outside the table: ignored
    app.loader.LoadSfx(-1);
}

TEST_F(MadeData, EmptyFolderLeavesEverySlotEmptyAndStillFinishes) {
    GameHarness h(640, 480, "", dir);
    h.FinishLoading();
    c_MyApp& app = h.App();
    EXPECT_EQ(app.loading.loadStep, 0);
    for (const auto& image : app.media.imageTable) EXPECT_EQ(image, nullptr);
    for (const auto& sound : app.media.soundTable) EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(app.media.currentFont, 90);
    h.Step(3);  // the title mode runs on without its pictures
}

TEST(AssetLoading, TakesTwentyOneUpdatesDrawingTheLoadingScreenEachTime) {
    GameHarness h;
    c_MyApp& app = h.App();
    ASSERT_EQ(app.loading.loadStep, 1);
    int start = app.loading.spinnerAngle;
    int updates = 0;
    while (app.loading.loadStep != 0 && updates < 100) {
        h.Update();
        updates++;
        ASSERT_EQ(h.CommandCount(), 25) << "update " << updates;
        EXPECT_EQ(app.screen.backgroundColor, (std::array<float, 4>{40, 40, 80, 1}));
        h.Render();
    }
    EXPECT_EQ(updates, 21);
    EXPECT_EQ(app.loading.spinnerAngle, start + 21 * 16);
}

// Start-up presents its first frame before any sheet is read: that frame
// draws the black background alone, and the first update reads the logo and
// the font before the loading screen, whose first picture shows the logo.
TEST(AssetLoading, FirstFrameComesBeforeTheLogoAndFontAreRead) {
    GameHarness h;  // GameStart, HandleCreate and the first render
    c_MyApp& app = h.App();
    EXPECT_EQ(h.CommandCount(), 0);
    EXPECT_EQ(app.screen.backgroundColor, (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_EQ(GraphicsDevice()->LastFrame().drawCalls, 0);  // the background as a clear
    EXPECT_EQ(app.media.imageTable[93], nullptr);
    EXPECT_EQ(app.media.imageTable[90], nullptr);
    h.Update();
    ASSERT_NE(app.media.imageTable[93], nullptr);
    ASSERT_NE(app.media.imageTable[90], nullptr);
    EXPECT_EQ(app.media.currentFont, 90);
    EXPECT_EQ(h.Command(13).kind, 93);
    const uint32_t logo = app.media.imageTable[93]->surface->texture;
    h.Render();
    EXPECT_EQ(h.Backend()->boundNow, logo);  // drawn on the first loading screen
}

TEST(AssetLoading, FillsTheTableWithLevelSizedSheets) {
    GameHarness h;  // 640 x 480: wider than 630, so the "-hd" sheets
    h.FinishLoading();
    c_MyApp& app = h.App();
    EXPECT_EQ(app.media.resLevel, 2);
    const int sheets[][4] = {{97, 32, 32, 16},  {95, 64, 64, 16},  {94, 32, 32, 16},
                             {92, 64, 64, 2},   {93, 256, 256, 1}, {91, 256, 256, 1},
                             {99, 256, 256, 4}, {98, 256, 128, 1}, {96, 8, 8, 16},
                             {80, 64, 64, 64},  {1, 32, 32, 8}};
    for (const auto& s : sheets) {
        ASSERT_NE(app.media.imageTable[s[0]], nullptr) << "image " << s[0];
        EXPECT_EQ(app.media.imageGeometry[3 * s[0]], 2 * s[1]) << "image " << s[0];
        EXPECT_EQ(app.media.imageGeometry[3 * s[0] + 1], 2 * s[2]) << "image " << s[0];
        EXPECT_EQ(app.media.imageGeometry[3 * s[0] + 2], s[3]) << "image " << s[0];
        EXPECT_EQ(app.media.imageTable[s[0]]->FrameCount(), s[3]);
        EXPECT_FLOAT_EQ(app.media.imageTable[s[0]]->tx,
                        static_cast<float>(s[1]));  // centred handle
    }
    ASSERT_NE(app.media.imageTable[90], nullptr);
    EXPECT_EQ(app.media.imageGeometry[3 * 90], 7);  // the font's advance is not scaled
    EXPECT_EQ(app.media.imageGeometry[3 * 90 + 1], 10);
    EXPECT_EQ(app.media.imageGeometry[3 * 90 + 2], 128);
    EXPECT_EQ(app.media.imageTable[90]->width, 32);
    for (int id : {1, 2, 3, 4, 5, 6, 7, 95, 98, 99})
        EXPECT_NE(app.media.soundTable[id], nullptr) << id;
    int loadedImages = 0, loadedSounds = 0;
    for (const auto& image : app.media.imageTable) loadedImages += image ? 1 : 0;
    for (const auto& sound : app.media.soundTable) loadedSounds += sound ? 1 : 0;
    EXPECT_EQ(loadedImages, 12);
    EXPECT_EQ(loadedSounds, 10);
}

TEST(AssetLoading, MissingSheetLeavesItsSlotEmpty) {
    std::string dir = MakeTempDir();
    LinkDataExcept(dir, [](const std::string& name) { return name.rfind("spiders", 0) == 0; });
    {
        GameHarness h(640, 480, "", dir);
        h.FinishLoading();
        c_MyApp& app = h.App();
        EXPECT_EQ(app.loading.loadStep, 0);
        EXPECT_EQ(app.media.imageTable[1], nullptr);
        EXPECT_NE(app.media.imageTable[96], nullptr);
        app.BeginDrawList(0, 0, 0, 1);
        app.QueueImage(1, 100, 100, 0);  // replayed as nothing
        h.Render();
        app.QueueImage(96, 100, 100, 0);
        int withNothing = GraphicsDevice()->LastFrame().vertices;
        h.Render();
        EXPECT_GT(GraphicsDevice()->LastFrame().vertices, withNothing);
    }
    RemoveTree(dir);
}

TEST(ResolutionRule, ThresholdsAreStrict) {
    GameHarness h;
    c_MyApp& app = h.App();
    const int cases[][3] = {{630, 630, 1},   {631, 100, 2}, {100, 631, 2},
                            {1230, 1230, 2}, {1231, 10, 4}, {10, 1231, 4}};
    for (const auto& c : cases) {
        h.Resize(c[0], c[1]);
        h.Render();
        app.loader.ChooseResolutionLevel(app.Display());
        EXPECT_EQ(app.media.resLevel, c[2]) << c[0] << " x " << c[1];
    }
}

// A page that fetches sharper pictures later: the game starts at the level
// the platform has, and takes up a raised limit only at the title at rest.
class LaterLevels : public testing::Test {
  protected:
    // At 1280 x 720 the device deserves level 4; only level 1 is at hand.
    LaterLevels() : h(1280, 720) {
        h.platform.pictureLevelLimit = 1;
        h.Resize(1280, 721);  // a reload, which takes the platform's limit
        h.Step();
        h.FinishLoading();
    }
    int MenuWidth() {
        const auto& menu = h.App().media.imageTable[99];
        return menu ? menu->surface->Width() : 0;
    }
    GameHarness h;
};

TEST_F(LaterLevels, StartsWithTheLevelAtHandAndSharpensAtTheTitle) {
    c_MyApp& app = h.App();
    EXPECT_EQ(app.media.resLevel, 1);
    EXPECT_FLOAT_EQ(app.media.resScale, 1.0f);
    EXPECT_EQ(MenuWidth(), 512);
    // Level 2 arrives first, then level 4: each one is a reload at the title.
    h.platform.pictureLevelLimit = 2;
    h.Step();
    EXPECT_GT(app.loading.loadStep, 0);
    h.FinishLoading();
    EXPECT_EQ(app.media.resLevel, 2);
    EXPECT_EQ(MenuWidth(), 1024);
    h.platform.pictureLevelLimit = 4;
    h.FinishLoading();
    EXPECT_EQ(app.media.resLevel, 4);
    EXPECT_FLOAT_EQ(app.media.resScale, 0.25f);
    EXPECT_EQ(MenuWidth(), 2048);
    EXPECT_EQ(app.mode, kModeTitle);
    h.Step(5);  // nothing more to load
    EXPECT_EQ(app.loading.loadStep, 0);
}

TEST_F(LaterLevels, WaitsOutTheMatchTheTimeUpSequenceAndTheCreditsPanel) {
    c_MyApp& app = h.App();
    app.mode = kModeStartMatch;
    h.Step();
    ASSERT_EQ(app.mode, kModeMatch);
    h.platform.pictureLevelLimit = 4;
    for (int i = 0; i < 60; i++) {
        h.Step();
        ASSERT_EQ(app.loading.loadStep, 0) << "update " << i << " of the match";
    }
    EXPECT_EQ(app.media.resLevel, 1);
    // The match is over; the time-up overlay fades over the title.
    app.mode = kModeTitle;
    app.timeUp.timeUpTimer = 40;
    int fading = 0;
    while (app.timeUp.timeUpTimer > 0 && fading < 200) {
        ASSERT_EQ(app.loading.loadStep, 0) << "while the time-up overlay fades";
        h.Step();
        fading++;
    }
    // The credits panel over the title holds it off too.
    app.credits.menuPanelOpen = 1;
    h.Step(3);
    EXPECT_EQ(app.loading.loadStep, 0);
    app.credits.menuPanelOpen = 0;
    while (app.credits.menuPanelSlide > 0 && fading < 400) {
        ASSERT_EQ(app.loading.loadStep, 0) << "while the panel slides away";
        h.Step();
        fading++;
    }
    h.Step();
    EXPECT_GT(app.loading.loadStep, 0);
    h.FinishLoading();
    EXPECT_EQ(app.media.resLevel, 4);
    EXPECT_EQ(app.mode, kModeTitle);
}

}  // namespace
