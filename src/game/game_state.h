// The parts of the game's state besides the match, the pause panel and the
// draw list, each grouped by who owns it and how long it lives. The parts the
// play layer also sees (screen fit, input snapshot, sheet sizes) are its own.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "game/play/game_ids.h"
#include "game/play/input_snapshot.h"
#include "game/play/screen_fit.h"
#include "game/play/sheet_sizes.h"

class c_Image;
class PlGame;
class c_InputDevice;
class c_Sound;
class c_TunePlayer;

// What was loaded for the current window size, and the channels effects use.
// The sheets' sizes, font and scale are what the pen reads of it.
struct Media : SheetSizes {
    static constexpr int kSounds = 100;
    static constexpr int kChannels = 33;

    Media();
    ~Media();  // where the music player is complete

    std::unique_ptr<c_TunePlayer> tunePlayer;
    std::array<std::shared_ptr<c_Image>, kImages> imageTable{};
    bool startSheetsDue = false;  // the logo and font, read at the next loader step
    int resLevel = 0;
    int levelLimit = 4;  // the platform's limit when this load began
    std::array<std::shared_ptr<c_Sound>, kSounds> soundTable{};
    std::array<int32_t, kChannels> channelIds{};
    int sfxChannel = 0;

    // The largest sheet side at levels 1, 2 and 4; -1 until read.
    std::array<int, 3> largestSheet{-1, -1, -1};

    // The sheet resolution (1, 2 or 4) and its scale for a display size,
    // no sharper than levelLimit.
    void ChooseResolution(int width, int height);
    // The next smaller level (4 to 2, 2 to 1).
    void LowerResolution();
};

// Everything the state file keeps.
struct SavedData {
    static constexpr int kBadges = 256;
    // Highscores: table t (difficulty t + 1) keeps its best ten at 10t and
    // its ten most recent at kRecentOffset + 10t; the rest is never saved.
    static constexpr int kTables = 3;
    static constexpr int kTableLength = 10;
    static constexpr int kRecentOffset = 30;
    static constexpr int kHighscores = 150;

    std::array<int32_t, kSettingsCount> settings{};
    std::array<bool, kBadges> badgeFlags{};
    std::array<int32_t, kHighscores> highscores{};

    int32_t* Best(int table) { return &highscores[kTableLength * table]; }
    const int32_t* Best(int table) const { return &highscores[kTableLength * table]; }
    int32_t* Recent(int table) { return &highscores[kRecentOffset + kTableLength * table]; }
    const int32_t* Recent(int table) const {
        return &highscores[kRecentOffset + kTableLength * table];
    }
    // The table of a difficulty (1..3); anything else falls to the nearest.
    static int TableFor(int difficulty) {
        return difficulty < 1 ? 0 : difficulty > kTables ? kTables - 1 : difficulty - 1;
    }
    int32_t& SoundMode() { return settings[kSettingSoundMode]; }
    int32_t SoundMode() const { return settings[kSettingSoundMode]; }
};

// The devices read once per update, in screen units; the held controls are
// sampled by the core's control mapping.
void SampleInput(InputSnapshot& input, const c_InputDevice& device, const ScreenFit& screen);

// The platform's clock, in milliseconds.
class FrameClock {
  public:
    explicit FrameClock(PlGame* platform) : platform_(platform) {}
    int NowMs() const;  // 0 without a platform

  private:
    PlGame* platform_;
};

// Measured rates of updates and renders.
struct FrameTiming {
    int updateStamp = 0, updateFps = 0, updateFpsAvg = 0;
    int renderStamp = 0, renderFps = 0, renderFpsAvg = 0;

    void MeasureUpdate(const FrameClock& clock) {
        MeasureRate(clock, updateStamp, updateFps, updateFpsAvg);
    }
    void MeasureRender(const FrameClock& clock) {
        MeasureRate(clock, renderStamp, renderFps, renderFpsAvg);
    }
    // Frames per second from the time since the last stamp, smoothed over ~10 frames.
    static void MeasureRate(const FrameClock& clock, int& stamp, int& fps, int& average);
};

// What stays process-wide: switches that outlive any one game object.
struct GameGlobals {
    int debugOverlay = 0;  // F10; also prints the saved state
    int musicSwitch = 0;   // nothing in the game turns the music on
};
GameGlobals& Globals();
