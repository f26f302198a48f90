// The parts of the game's state on their own, without a game object: the two
// degree conversions the game keeps apart, the state file over a bare record,
// the effects without a device and the loader's call on sharper pictures.
#include <gtest/gtest.h>

#include <string>

#include "core/degree_math.h"
#include "game/asset_loader.h"
#include "game/effects.h"
#include "game/state_file.h"

// Recorded matches depend on every bit of the match's trigonometry, so its
// conversion must not be folded into the drawing one.
TEST(DegreeMath, TheTwoConversionsAgreeInValueButNotInEveryBit) {
    int differ = 0;
    for (int a = 0; a < 360; a++) {
        auto d = static_cast<float>(a);
        EXPECT_NEAR(SinDeg(d), SinDegFactor(d), 1e-6f) << a;
        EXPECT_NEAR(CosDeg(d), CosDegFactor(d), 1e-6f) << a;
        differ += SinDeg(d) != SinDegFactor(d);
    }
    EXPECT_GT(differ, 0);
    EXPECT_FLOAT_EQ(SinDeg(90), 1);
    EXPECT_FLOAT_EQ(CosDegFactor(180), -1);
}

// Without a platform nothing is read or written, and the string still
// carries every section through a load into a second record.
TEST(StateFile, WithoutAPlatformItLoadsNothingAndTheStringRoundTrips) {
    SavedData saved;
    saved.SoundMode() = 2;
    saved.badgeFlags[200] = true;
    saved.Best(2)[9] = 77;
    saved.Recent(1)[0] = -5;
    StateFile file(saved, nullptr);
    file.LoadSaves();  // an empty string: nothing but the pad's clamp changes
    EXPECT_EQ(saved.SoundMode(), 2);
    EXPECT_EQ(saved.settings[kSettingPadSize], 10);
    file.SaveAll();

    SavedData copy;
    StateFile(copy, nullptr).ApplyStateString(Widen(file.BuildStateString()));
    EXPECT_EQ(copy.settings, saved.settings);
    EXPECT_EQ(copy.badgeFlags, saved.badgeFlags);
    EXPECT_EQ(copy.highscores, saved.highscores);
}

// A short last table leaves it alone while the ones before it load.
TEST(StateFile, ATableCutShortStopsTheReadingThere) {
    SavedData saved;
    saved.Best(0)[0] = 11;
    saved.Best(1)[0] = 22;
    saved.Best(2)[0] = 33;
    const std::string full = StateFile(saved, nullptr).BuildStateString();
    const std::string cut = full.substr(0, full.rfind('|', full.size() - 2));  // no last checksum

    SavedData loaded;
    loaded.Best(2)[0] = 99;
    StateFile(loaded, nullptr).ApplyStateString(Widen(cut));
    EXPECT_EQ(loaded.Best(0)[0], 11);
    EXPECT_EQ(loaded.Best(1)[0], 22);
    EXPECT_EQ(loaded.Best(2)[0], 99);  // left as it was
}

// With no audio device (none yet, or gone) the cues still play in turn over
// the rotating channels and are used up, so nothing sounds late later.
TEST(EffectPlayer, WithoutADeviceTheChannelsStillTurnAndTheCuesAreUsedUp) {
    Media media;
    int32_t soundMode = 1;
    SoundCues cues(soundMode);
    EffectPlayer effects(media, cues);
    media.sfxChannel = 22;
    cues.Cue(kSfxClick, 1, 1, 0);
    cues.Cue(kSfxPanel, 1, 1, 0);
    effects.PlayCues(nullptr);
    EXPECT_EQ(media.sfxChannel, 0);  // 23, then round to 0
    EXPECT_EQ(cues.Count(), 0);
    effects.PlaySfx(nullptr, kSfxClick, 1, 1, 0);
    EXPECT_EQ(media.sfxChannel, 1);
}

// Sharper pictures are worth a reload only when the display's level changes
// with the new limit; the same limit again is nothing new.
TEST(AssetLoader, SharperPicturesReloadOnlyWhenTheDisplaysLevelChanges) {
    Media media;
    AssetLoader loader(media, nullptr);  // no platform: every level is there
    media.levelLimit = 1;
    media.ChooseResolution(600, 400);
    EXPECT_FALSE(loader.TakeUpSharperPictures({300, 200, 600, 400}));  // level 1 either way
    EXPECT_EQ(media.levelLimit, 4);

    media.levelLimit = 1;
    media.ChooseResolution(1280, 720);
    ASSERT_EQ(media.resLevel, 1);
    EXPECT_TRUE(loader.TakeUpSharperPictures({640, 360, 1280, 720}));
    EXPECT_EQ(media.resLevel, 4);
    EXPECT_FALSE(loader.TakeUpSharperPictures({640, 360, 1280, 720}));
}
