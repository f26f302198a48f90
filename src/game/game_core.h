// The game's core: the state every part of the game shares, in fields the
// constructor allocates once, and the operations of the core itself (mode
// machine, draw list, controls, match, pause). The screens above it (assets,
// saves, title, time-up, credits) are reached only through the hooks below.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/text.h"
#include "framework/app.h"
#include "game/text_buffer.h"

class c_Image;
class c_Sound;
class c_TunePlayer;

// The game-wide marker for a missing value.
constexpr int kNone = -3717;
constexpr float kNoneF = -3717.0f;

// Draw-list command kinds (image commands use the image index, >= 0).
constexpr float kCmdRect = -3717.0f;
constexpr float kCmdEllipse = -3716.0f;
constexpr float kCmdLine = -3715.0f;

// Modes of the mode machine.
enum GameMode { kModeTitle = 1, kModeRecord = 2, kModeMatch = 10, kModeStartMatch = 11 };

// Abstract controls.
enum Control {
    kControlUp = 0,
    kControlLeft = 3,
    kControlRight = 5,
    kControlDown = 8,
    kControlA = 10,
    kControlB = 11,
    kControlC = 12,
    kControlD = 13,
    kControlBack = 99,
};

// Process-wide game values.
struct GameGlobals {
    float screenWidth = 640;
    float screenHeight = 480;
    float designWidth = 640;
    float designHeight = 480;
    int debugOverlay = 0;
    int musicSwitch = 0;  // nothing in the game turns the music on
};
GameGlobals& Globals();

class c_GameCore : public c_App {
  public:
    static constexpr int kDrawListSize = 37500;
    static constexpr int kCommandSize = 15;
    static constexpr int kDrawListLimit = 37485;  // queueing stops here: 2499 commands
    static constexpr int kPoolSize = 2048;
    static constexpr int kRecords = 201;
    static constexpr int kRecordSize = 10;
    static constexpr int kImages = 100;
    static constexpr int kSounds = 100;

    c_GameCore();
    ~c_GameCore() override;

    // --- application events (core) ---
    int HandleCreate() override;
    int HandleSuspend() override;
    int HandleResume() override;
    int HandleUpdate() override;
    int HandleRender() override;  // draw list replay

    // --- the screens' hooks: what the core asks of the layer above it ---
    virtual int BeginLoading() = 0;
    virtual int AssetLoadStep() = 0;
    virtual int LoadSaves() = 0;
    virtual int SaveAll() = 0;
    virtual int DrawTitleScreen() = 0;
    virtual int RecordScore() = 0;
    virtual int DrawTimeUp() = 0;
    virtual int DrawCreditsPanel() = 0;

    // --- core services (app_core.cpp) ---
    int NowMs() const;  // the platform clock, 0 without a platform
    int SetTextEntry(int on);
    int ControlDown(int code);  // controls.cpp
    int PlaySfx(int id, float rate, float volume, float pan);
    // Steps of HandleUpdate / HandleResume.
    void ApplySuspendPause();
    void MeasureRate(int& stamp, int& fps, int& average);
    void SampleInput();
    void UpdateLatches();
    void RunModeMachine();
    void QueueDebugLine();

    // --- draw list (draw_list.cpp) ---
    int ResetDrawState();
    int BeginDrawList(float r, float g, float b, float a);
    int SetDrawScale(float sx, float sy = kNoneF);
    int SetDrawRotation(float degrees);
    int SetDrawAlpha(float a);
    int SetDrawColor(float r, float g, float b, float a = kNoneF);
    int QueueImage(int image, float x, float y, float frame);
    int QueueRect(float x, float y, float w, float h);
    int QueueEllipse(float cx, float cy, float rx, float ry);
    int QueueLine(float x1, float y1, float x2, float y2);
    int QueueText(float x, float y, StringView text, float alignX, float alignY);
    int QueueButton(int image, float x, float y, int frame);
    static TextBuffer PadNumber(int n, int width, StringView pad);
    int DrawCount() const { return drawCount; }
    void PushCommand(float kind, float x, float y, float sizeX, float sizeY, float frame);
    int Geometry(int image, int entry) const;
    void FitScreen(int deviceWidth, int deviceHeight);
    void ReplayDrawList();

    // --- match (match.cpp) ---
    int StartMatch();
    int UpdateMatch();
    int FreeFieldSlot();
    int FreeEffectSlot();
    int AddScore(int points, int x, int y);
    int SpawnDebris(float x, float y, float angle);

    // --- pause (pause.cpp) ---
    int UpdatePauseButton();
    int UpdatePausePanel();

    // ================= fields =================
    // modes
    int mode = 0;

    // screen
    int knownWidth = 0, knownHeight = 0;
    float screenScaleX = 0, screenScaleY = 0;
    int fitAxis = 0;
    int landscape = 0;
    std::array<float, 4> backgroundColor{};

    // assets
    std::unique_ptr<c_TunePlayer> tunePlayer;
    std::array<std::shared_ptr<c_Image>, kImages> imageTable{};
    std::array<int32_t, 300> imageGeometry{};
    int currentFont = 0;
    int loadStep = 0;
    int resLevel = 0;
    float resScale = 0;
    std::array<std::shared_ptr<c_Sound>, kSounds> soundTable{};
    int spinnerAngle = 0;

    // settings and saves
    std::array<int32_t, 25> settings{};
    std::array<bool, 256> badgeFlags{};
    std::array<int32_t, 15> badgeQueueA{};
    std::array<int32_t, 15> badgeQueueB{};
    std::array<int32_t, 150> highscores{};

    // options
    int difficulty = 0;
    int titleSlide = 0;
    int titleValue = 0;  // the other title value, 50 after HandleCreate
    int menuPanelOpen = 0;
    int menuPanelSlide = 0;

    // pause
    int paused = 0, panelDirection = 0, panelY = 0, panelChoice = 0, pauseStamp = 0;

    // input
    int pointerX = 0, pointerY = 0, pointerPrevX = 0, pointerPrevY = 0;
    int pointerDown = 0, mouseWasDown = 0, clickHits = 0, pointerLatch = 0, controlLatch = 0;
    std::array<int32_t, 10> touchDown{};
    std::array<int32_t, 10> touchX{};
    std::array<int32_t, 10> touchY{};

    // timing
    int updateStamp = 0, updateFps = 0, updateFpsAvg = 0;
    int renderStamp = 0, renderFps = 0, renderFpsAvg = 0;

    // audio
    std::array<int32_t, 33> channelIds{};
    int sfxChannel = 0;

    // drawing
    std::array<float, kDrawListSize> drawList{};
    int drawCount = 0;
    float drawScaleX = 0, drawScaleY = 0, drawRotation = 0;
    float drawColorR = 0, drawColorG = 0, drawColorB = 0, drawAlpha = 0;
    int drawBlend = 0;

    // match
    int score = 0, shownScore = 0, secondsLeft = 0, matchStart = 0, matchLength = 0;
    int matchOver = 0, heldCharge = 0, hurtTimer = 0, spiderCap = 0, tickThreshold = 0;
    int toothpickCount = 0, spiderCount = 0, toothpickHalfLength = 0;
    int secondsShown = 0;  // the copy of secondsLeft the time-up overlay reads
    float aimDistance = 0, aimAngle = 0;
    // While the field loop runs, effect records are only taken, never freed:
    // once the effect pool is found full it stays full until the loop ends.
    bool inFieldLoop = false, effectPoolFull = false;
    std::array<float, kPoolSize> fieldRecords{};
    std::array<float, kPoolSize> effectRecords{};

    // time-up and highscores
    int timeUpTimer = 0;
    int rankPosition = 0;
    int bandHeight = 0;

    // title scratch
    int listHeight = 0, lineCount = 0;

    // credits
    float creditScroll = 0;
    int creditLine = 0;
};
