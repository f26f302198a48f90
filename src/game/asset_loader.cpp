// The asset tables: image sheets in three resolutions, the bitmap font and
// the sound effects, loaded one per update while the loading screen turns.
#include "game/asset_loader.h"

#include <algorithm>

#include "audio/audio.h"
#include "core/text.h"
#include "formats/image_decode.h"
#include "game/play/pen.h"
#include "graphics/context.h"
#include "graphics/image.h"
#include "platform/platform_game.h"

namespace {

constexpr int kFontFrames = 128;
constexpr int kFontCell = 16;

// One sheet of the table, loaded with its frames' handles at their centres.
struct SheetEntry {
    int step;
    int index;
    const char16_t* name;
    int width, height, frames;
};

constexpr SheetEntry kSheetSteps[] = {
    {1, kImageIcons, u"common/icons", 32, 32, 16},
    {2, kImageButtons, u"common/Buttons", 64, 64, 16},
    {3, kImageDpad, u"common/dpad", 32, 32, 16},
    {4, kImageIcade, u"common/icade", 64, 64, 2},
    {5, kImageMakerLogo, u"common/ZEPHLogo", 256, 256, 1},
    {5, kImageTestCard, u"common/Testcard_Circle", 256, 256, 1},
    {11, kImageMenu, u"menu", 256, 256, 4},
    {12, kImageLogo, u"logo", 256, 128, 1},
    {13, kImageParts, u"parts", 8, 8, 16},
    {14, kImageBadges, u"BadgesA", 64, 64, 64},
    {15, kImageSpiders, u"spiders", 32, 32, 8},
};

struct SoundEntry {
    int step;
    int id;
};

constexpr SoundEntry kSoundSteps[] = {
    {7, kSfxSpiderInCentre}, {8, kSfxButtons}, {9, kSfxClick},   {10, kSfxPanel}, {16, kSfxThrow},
    {17, kSfxSpiderHit},     {18, kSfxDrop},   {19, kSfxPickUp}, {20, kSfxTick},  {20, kSfxTimeUp},
};

// Resolution suffix of a sheet file name.
const char* LevelSuffix(int level) {
    if (level == 4) return "-hd2";
    if (level == 2) return "-hd";
    return "";
}

constexpr const char16_t* kFontName = u"fonts/editundo";

TextBuffer SheetFile(StringView name, int level) {
    TextBuffer file(name);
    file.Append(LevelSuffix(level)).Append(".png");
    return file;
}

// The larger side of a sheet file as its header gives it; 0 when unreadable.
int SheetSide(PlGame* platform, StringView name, int level) {
    FileHandle file = platform->OpenFile(ApplyDataPathRule(SheetFile(name, level).View()), "rb");
    int width = 0, height = 0;
    if (!ReadImageSize(file.get(), &width, &height)) return 0;
    return std::max(width, height);
}

int LevelSlot(int level) {
    return level == 4 ? 2 : level == 2 ? 1 : 0;
}

}  // namespace

int LargestSheetSide(PlGame* platform, int level) {
    if (!platform) return 0;
    int largest = SheetSide(platform, kFontName, level);
    for (const SheetEntry& s : kSheetSteps)
        largest = std::max(largest, SheetSide(platform, s.name, level));
    return largest;
}

void AssetLoader::ChooseResolutionLevel(const c_App::DisplaySize& display) {
    // Sheets are chosen for the pixels they will cover, not the window's units.
    media_.ChooseResolution(display.pixelWidth, display.pixelHeight);
    // A driver whose textures cannot hold a level's sheets would draw none of
    // them: the next smaller level looks coarser but is all there.
    const int maxTexture = MaxTextureSize();
    while (media_.resLevel > 1 && maxTexture > 0 &&
           CachedLargestSheet(media_.resLevel) > maxTexture)
        media_.LowerResolution();
}

// Read once per level and game: the files do not change while it runs.
int AssetLoader::CachedLargestSheet(int level) {
    int& side = media_.largestSheet[LevelSlot(level)];
    if (side < 0) side = LargestSheetSide(platform_, level);
    return side;
}

TextBuffer AssetLoader::SheetFileName(StringView name) const {
    return SheetFile(name, media_.resLevel);
}

int AssetLoader::LoadSheet(int index, StringView name, int width, int height, int frames,
                           int flags) {
    if (index < 0 || index >= Media::kImages) return 0;
    media_.imageTable[index] = nullptr;
    TextBuffer file = SheetFileName(name);
    media_.imageTable[index] =
        OpenImage(file.View(), media_.resLevel * width, media_.resLevel * height, frames, flags);
    media_.imageGeometry[3 * index] = media_.resLevel * width;
    media_.imageGeometry[3 * index + 1] = media_.resLevel * height;
    media_.imageGeometry[3 * index + 2] = frames;
    return 0;
}

// Glyph k is character k + 32; advance and line height stay in screen units.
int AssetLoader::LoadFont(int index, StringView name, int advance, int lineHeight) {
    if (index < 0 || index >= Media::kImages) return 0;
    media_.imageTable[index] = nullptr;
    TextBuffer file = SheetFileName(name);
    int cell = kFontCell * media_.resLevel;
    media_.imageTable[index] = OpenImage(file.View(), cell, cell, kFontFrames, CentreHandle);
    media_.imageGeometry[3 * index] = advance;
    media_.imageGeometry[3 * index + 1] = lineHeight;
    media_.imageGeometry[3 * index + 2] = kFontFrames;
    media_.currentFont = index;
    return 0;
}

// "sfx/" + the id in three digits + ".wav".
int AssetLoader::LoadSfx(int id) {
    if (id < 0 || id >= Media::kSounds) return 0;
    TextBuffer file(u"sfx/");
    file.Append(PadNumber(id, 3, u"0").View()).Append(".wav");
    media_.soundTable[id] = OpenSound(file.View());
    return 0;
}

void AssetLoader::BeginLoading(const c_App::DisplaySize& display, ScreenFit& screen,
                               LoadingScreen& loading) {
    media_.levelLimit = PlatformLevelLimit();
    ChooseResolutionLevel(display);
    screen.backgroundColor = {0, 0, 0, 1};
    media_.startSheetsDue = true;
    loading.Restart();
}

int AssetLoader::PlatformLevelLimit() const {
    return platform_ ? platform_->PictureLevelLimit() : 4;
}

// Only a level the display wants and the platform did not have when this
// load began makes a reload worth it.
bool AssetLoader::TakeUpSharperPictures(const c_App::DisplaySize& display) {
    const int limit = PlatformLevelLimit();
    if (limit == media_.levelLimit) return false;
    const int loaded = media_.resLevel;
    media_.levelLimit = limit;
    media_.ChooseResolution(display.pixelWidth, display.pixelHeight);
    return media_.resLevel != loaded;
}

void AssetLoader::LoadStartSheets() {
    LoadSheet(kImageMakerLogo, u"common/ZEPHLogo", 256, 256, 1, CentreHandle);
    LoadFont(kImageFont, kFontName, 7, 10);
    media_.startSheetsDue = false;
}

// One step's files, at the level chosen now; the logo and font first when due.
void AssetLoader::AssetLoadStep(int step, const c_App::DisplaySize& display) {
    ChooseResolutionLevel(display);
    if (media_.startSheetsDue) LoadStartSheets();
    for (const SheetEntry& s : kSheetSteps) {
        if (s.step == step) LoadSheet(s.index, s.name, s.width, s.height, s.frames, CentreHandle);
    }
    if (step == 6) LoadFont(kImageFont, kFontName, 7, 10);
    for (const SoundEntry& s : kSoundSteps) {
        if (s.step == step) LoadSfx(s.id);
    }
}
