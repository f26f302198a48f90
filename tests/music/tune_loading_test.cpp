// The loading sequence without a real GL context: which sample files load at
// which counter, pacing by RenderLoading, and what loading leaves alone.
#include <filesystem>
#include <fstream>

#include "graphics/context.h"
#include "graphics/renderer.h"
#include "recording_player.h"

namespace {

// A short 16-bit mono WAV.
void WriteWav(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const uint32_t frames = 64, bytes = frames * 2, rate = 22050;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
    out.write("data", 4);
    u32(bytes);
    for (uint32_t i = 0; i < frames; i++) u16(static_cast<uint16_t>(i * 300));
}

class TuneLoading : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.dataDir = platform.tempDir;
        SetGraphicsDevice(&graphics);
        SetAudioDevice(&audio);
        player.Configure(32, 4, 3, 3, 4);
        player.kits = {0, 3, 4, 5, 6, 7, 0, 0};
    }
    void TearDown() override {
        SetAudioDevice(nullptr);
        SetGraphicsDevice(nullptr);
    }
    void Inst(const std::string& name) { WriteWav(platform.tempDir + "/inst/" + name); }
    // One render with the player's loading first, as the game does it.
    void Render() {
        graphics.FrameBegin();
        BeginRenderState();
        player.RenderLoading();
        EndRenderState();
        graphics.FrameEnd();
    }
    NullGlBackend& Null() { return *static_cast<NullGlBackend*>(graphics.Backend()); }

    TestPlatform platform;
    PlGraphics graphics{std::make_unique<NullGlBackend>(), &platform, &platform};
    PlAudio audio{&platform};
    RecordingPlayer player{&platform};
};

TEST_F(TuneLoading, LoadsEachKitFileFromItsNumberedName) {
    for (int i = 1; i <= 8; i++)
        if (i != 5) Inst("d3-" + std::to_string(i) + ".wav");
    Inst("d4-2.wav");
    Inst("d3-9.wav");  // not part of a kit
    Inst("lead5.wav");
    Inst("accompany6.wav");
    Inst("bass1.wav");  // wrong kit number: bass is kit 7

    player.loadCounter = 1;
    for (int i = 0; i < 70; i++) player.LoadStep();
    EXPECT_EQ(player.loadCounter, 0);

    for (int i = 1; i <= 8; i++) EXPECT_EQ(player.drumsA[i] != nullptr, i != 5) << "drum " << i;
    for (int i = 1; i <= 8; i++) EXPECT_EQ(player.drumsB[i] != nullptr, i == 2) << "drum " << i;
    EXPECT_EQ(player.drumsA[0], nullptr);
    EXPECT_NE(player.instruments[2], nullptr);
    EXPECT_NE(player.instruments[3], nullptr);
    EXPECT_EQ(player.instruments[4], nullptr);
    ASSERT_NE(player.drumsA[1], nullptr);
    EXPECT_NE(player.drumsA[1]->sample, nullptr);
}

TEST_F(TuneLoading, RunsThreeStepsPerRenderAndLeavesTheStateAlone) {
    player.sheetPath = u"music/none.png";  // missing: the song stays empty
    player.state = 0;
    player.loadCounter = 1;
    player.song[c_TunePlayer::SongIndex(3, 1, 5, 0)] = 0;
    int renders = 0;
    std::vector<int> counters;
    while (player.loadCounter != 0 && renders < 100) {
        platform.nowMs += 16;
        const int clearsBefore = Null().clears;
        Render();
        renders++;
        counters.push_back(player.loadCounter);
        EXPECT_EQ(Null().clears, clearsBefore + 1);  // the loading picture is wiped
    }
    EXPECT_EQ(renders, 24);  // 70 steps, three at a time
    EXPECT_EQ(counters[0], 4);
    EXPECT_EQ(counters[1], 7);
    EXPECT_EQ(player.state, 0);
    EXPECT_EQ(player.nextStepTime, platform.nowMs + 100);
    EXPECT_EQ(player.sheet, nullptr);
    for (int t = 0; t < 8; t++) EXPECT_EQ(player.lastPattern[t], 0);

    // Idle: nothing is loaded or cleared.
    const int clears = Null().clears;
    Render();
    EXPECT_EQ(Null().clears, clears);
    EXPECT_EQ(player.loadCounter, 0);
}

TEST_F(TuneLoading, PlaysNothingUntilLoadingHasFinished) {
    player.state = 2;
    player.loadCounter = 1;
    player.SetCell(0, 2, 0, 13, 20);
    player.instruments[2] = std::make_shared<c_Sound>(nullptr);
    while (player.loadCounter != 0) {
        platform.nowMs += 16;
        player.Update(0, 1);
        Render();
        player.instruments[2] = std::make_shared<c_Sound>(nullptr);  // kit 5 has no lead file
    }
    EXPECT_TRUE(player.Calls('P').empty());
    platform.nowMs += 50;
    player.Update(0, 1);
    EXPECT_TRUE(player.Calls('P').empty());  // 100 ms after the last load step
    platform.nowMs += 60;
    player.Update(0, 1);
    EXPECT_EQ(player.Calls('P').size(), 1u);
}

}  // namespace
