// The parts of the game's state besides the match and the draw list, each
// grouped by who owns it and how long it lives.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "game/game_ids.h"

class c_Image;
class c_InputDevice;
class c_Sound;
class c_TunePlayer;

// The logical screen fitted to the window: recomputed by every render.
struct ScreenFit {
    int knownWidth = 0, knownHeight = 0;  // framebuffer pixels last seen by a render
    float screenScaleX = 0, screenScaleY = 0;
    int fitAxis = 0;
    int landscape = 0;
    std::array<float, 4> backgroundColor{};
    // The logical screen in screen units; the design size until the first render.
    float screenWidth = 640, screenHeight = 480;
    float designWidth = 640, designHeight = 480;

    // The larger of the two axis factors maps the design onto the device.
    void Fit(int deviceWidth, int deviceHeight);
};

// What was loaded for the current window size, and the channels effects use.
struct Media {
    static constexpr int kImages = 100;
    static constexpr int kSounds = 100;
    static constexpr int kChannels = 33;

    std::unique_ptr<c_TunePlayer> tunePlayer;
    std::array<std::shared_ptr<c_Image>, kImages> imageTable{};
    std::array<int32_t, 3 * kImages> imageGeometry{};  // frame width, height, count per slot
    int currentFont = 0;
    int loadStep = 0;  // 0 once everything is loaded
    int resLevel = 0;
    float resScale = 0;
    std::array<std::shared_ptr<c_Sound>, kSounds> soundTable{};
    int spinnerAngle = 0;
    std::array<int32_t, kChannels> channelIds{};
    int sfxChannel = 0;

    // Frame width (0), height (1) or count (2) of an image slot; 0 outside the table.
    int Geometry(int image, int entry) const;
    // The sheet resolution (1, 2 or 4) and its scale for a display size.
    void ChooseResolution(int width, int height);
};

// Everything the state file keeps.
struct SavedData {
    static constexpr int kBadges = 256;
    static constexpr int kBadgeQueue = 15;
    // Highscores: table t (difficulty t + 1) keeps its best ten at 10t and
    // its ten most recent at kRecentOffset + 10t; the rest is never saved.
    static constexpr int kTables = 3;
    static constexpr int kTableLength = 10;
    static constexpr int kRecentOffset = 30;
    static constexpr int kHighscores = 150;

    std::array<int32_t, kSettingsCount> settings{};
    std::array<bool, kBadges> badgeFlags{};
    std::array<int32_t, kBadgeQueue> badgeQueueA{};
    std::array<int32_t, kBadgeQueue> badgeQueueB{};
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

// The devices read once per update, in screen units, and the one-action-per-press latches.
struct InputSnapshot {
    static constexpr int kTouches = 10;

    int pointerX = 0, pointerY = 0, pointerPrevX = 0, pointerPrevY = 0;
    int pointerDown = 0, mouseWasDown = 0, clickHits = 0, pointerLatch = 0, controlLatch = 0;
    std::array<int32_t, kTouches> touchDown{};
    std::array<int32_t, kTouches> touchX{};
    std::array<int32_t, kTouches> touchY{};

    void Sample(const c_InputDevice& device, const ScreenFit& screen);
};

// The pause icon's panel over a running match.
struct PausePanel {
    int paused = 0, panelDirection = 0, panelY = 0, panelChoice = 0, pauseStamp = 0;
};

// The title screen: the chosen difficulty, its slide-in and the score lists' size.
struct TitleState {
    int difficulty = 0;
    int titleSlide = 0;
    int titleValue = 0;  // the other title value, 50 after HandleCreate
    int listHeight = 0, lineCount = 0;
};

// The credits panel over the title screen.
struct CreditsPanel {
    int menuPanelOpen = 0;
    int menuPanelSlide = 0;  // 0..30 while it flies in and out
    float creditScroll = 0;
    int creditLine = 0;
};

// The time-up overlay at the end of a match and the rank it shows.
struct TimeUpState {
    int timeUpTimer = 0;
    int rankPosition = 0;
    int bandHeight = 0;
};

// Measured rates of updates and renders.
struct FrameTiming {
    int updateStamp = 0, updateFps = 0, updateFpsAvg = 0;
    int renderStamp = 0, renderFps = 0, renderFpsAvg = 0;
};

// What stays process-wide: switches that outlive any one game object.
struct GameGlobals {
    int debugOverlay = 0;  // F10; also prints the saved state
    int musicSwitch = 0;   // nothing in the game turns the music on
};
GameGlobals& Globals();
