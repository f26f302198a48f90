// The asset tables: image sheets in three resolutions, the bitmap font and
// the sound effects, loaded one per update behind an animated loading screen.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/audio.h"
#include "game/screens/my_app.h"
#include "graphics/context.h"
#include "graphics/image.h"

namespace {

constexpr int kLogo = 93;
constexpr int kFont = 90;
constexpr int kFontFrames = 128;
constexpr int kFontCell = 16;
constexpr int kLastStep = 21;

// One sheet of the table, loaded with its frames' handles at their centres.
struct SheetEntry {
    int step;
    int index;
    const char16_t* name;
    int width, height, frames;
};

constexpr SheetEntry kSheetSteps[] = {
    {1, 97, u"common/icons", 32, 32, 16},
    {2, 95, u"common/Buttons", 64, 64, 16},
    {3, 94, u"common/dpad", 32, 32, 16},
    {4, 92, u"common/icade", 64, 64, 2},
    {5, kLogo, u"common/ZEPHLogo", 256, 256, 1},
    {5, 91, u"common/Testcard_Circle", 256, 256, 1},
    {11, 99, u"menu", 256, 256, 4},
    {12, 98, u"logo", 256, 128, 1},
    {13, 96, u"parts", 8, 8, 16},
    {14, 80, u"BadgesA", 64, 64, 64},
    {15, 1, u"spiders", 32, 32, 8},
};

struct SoundEntry {
    int step;
    int id;
};

constexpr SoundEntry kSoundSteps[] = {
    {7, 1}, {8, 95}, {9, 98}, {10, 99}, {16, 2}, {17, 3}, {18, 4}, {19, 5}, {20, 6}, {20, 7},
};

// Resolution suffix of a sheet file name.
const char* LevelSuffix(int level) {
    if (level == 4) return "-hd2";
    if (level == 2) return "-hd";
    return "";
}

float SinDeg(float degrees) {
    return std::sin(degrees * std::numbers::pi_v<float> / 180.0f);
}
float CosDeg(float degrees) {
    return std::cos(degrees * std::numbers::pi_v<float> / 180.0f);
}

}  // namespace

// Strictly above 630 pixels on either side: level 2; above 1230: level 4.
void c_MyApp::ChooseResolutionLevel() {
    int width = DisplayWidth(), height = DisplayHeight();
    resLevel = 1;
    resScale = 1.0f;
    if (width > 630 || height > 630) {
        resLevel = 2;
        resScale = 0.5f;
    }
    if (width > 1230 || height > 1230) {
        resLevel = 4;
        resScale = 0.25f;
    }
}

// The sheet's file name at the current level: name, suffix, ".png".
TextBuffer c_MyApp::SheetFileName(StringView name) const {
    TextBuffer file(name);
    file.Append(LevelSuffix(resLevel)).Append(".png");
    return file;
}

int c_MyApp::LoadSheet(int index, StringView name, int width, int height, int frames, int flags) {
    if (index < 0 || index >= kImages) return 0;
    imageTable[index] = nullptr;
    TextBuffer file = SheetFileName(name);
    imageTable[index] = OpenImage(file.View(), resLevel * width, resLevel * height, frames, flags);
    imageGeometry[3 * index] = resLevel * width;
    imageGeometry[3 * index + 1] = resLevel * height;
    imageGeometry[3 * index + 2] = frames;
    return 0;
}

// Glyph k is character k + 32; advance and line height stay in screen units.
int c_MyApp::LoadFont(int index, StringView name, int advance, int lineHeight) {
    if (index < 0 || index >= kImages) return 0;
    imageTable[index] = nullptr;
    TextBuffer file = SheetFileName(name);
    int cell = kFontCell * resLevel;
    imageTable[index] = OpenImage(file.View(), cell, cell, kFontFrames, CentreHandle);
    imageGeometry[3 * index] = advance;
    imageGeometry[3 * index + 1] = lineHeight;
    imageGeometry[3 * index + 2] = kFontFrames;
    currentFont = index;
    return 0;
}

// "sfx/" + the id in three digits + ".wav".
int c_MyApp::LoadSfx(int id) {
    if (id < 0 || id >= kSounds) return 0;
    TextBuffer file(u"sfx/");
    file.Append(PadNumber(id, 3, u"0").View()).Append(".wav");
    soundTable[id] = OpenSound(file.View());
    return 0;
}

// The logo and font at once, the rest one per update from step 1.
int c_MyApp::BeginLoading() {
    ChooseResolutionLevel();
    backgroundColor = {0, 0, 0, 1};
    LoadSheet(kLogo, u"common/ZEPHLogo", 256, 256, 1, CentreHandle);
    LoadFont(kFont, u"fonts/editundo", 7, 10);
    loadStep = 1;
    return 0;
}

// One step of the table, then the loading screen (drawn on the last step too).
int c_MyApp::AssetLoadStep() {
    ChooseResolutionLevel();
    for (const SheetEntry& s : kSheetSteps) {
        if (s.step == loadStep)
            LoadSheet(s.index, s.name, s.width, s.height, s.frames, CentreHandle);
    }
    if (loadStep == 6) LoadFont(kFont, u"fonts/editundo", 7, 10);
    for (const SoundEntry& s : kSoundSteps) {
        if (s.step == loadStep) LoadSfx(s.id);
    }
    if (loadStep >= kLastStep)
        loadStep = 0;
    else
        loadStep++;
    DrawLoadingScreen();
    return 0;
}

// Eleven dots fading in over 160 degrees on a ring of radius m/4.
void c_MyApp::QueueDotRing(float r, float g, float b, int angleOffset) {
    const GameGlobals& glob = Globals();
    int m = static_cast<int>(std::min(glob.screenWidth, glob.screenHeight));
    auto radius = static_cast<float>(m / 4);
    for (int i = 0; i <= 10; i++) {
        SetDrawColor(r, g, b, static_cast<float>(i) / 10.0f);
        auto a = static_cast<float>(spinnerAngle + 16 * i + angleOffset);
        QueueEllipse(glob.screenWidth / 2 + radius * SinDeg(a),
                     glob.screenHeight / 2 - radius * CosDeg(a), 8, 8);
    }
}

int c_MyApp::DrawLoadingScreen(int) {
    const GameGlobals& glob = Globals();
    float vw = glob.screenWidth, vh = glob.screenHeight;
    BeginDrawList(40, 40, 80, 1);
    auto m = static_cast<float>(static_cast<int>(std::min(vw, vh)));
    spinnerAngle += 16;
    QueueDotRing(250, 250, 250, 180);
    SetDrawColor(255, 255, 0, 0.8f);
    QueueEllipse(vw / 2, vh / 2, 0.3f * m, 0.3f * m);
    SetDrawColor(250, 160, 60, 0.7f);
    QueueRect(0, 0.4f * vh, vw, 0.2f * vh);
    ResetDrawState();
    QueueImage(kLogo, vw / 2, 0.48f * vh, 0);
    QueueDotRing(50, 50, 50, 0);
    return 0;
}
