// The sequencer's playing rules against recorded channel calls and a
// controllable clock: cells, volumes, envelopes, effects, timing and the
// seeded arrangement.
#include <array>
#include <cmath>

#include "core/random.h"
#include "recording_player.h"

namespace {

constexpr int kLead = 2, kChords = 3;
constexpr int kLeadChannel = 29;  // base 32: tracks 0..4 on 31..27

TEST(TuneRandom, DrawsFromTheSharedGeneratorWithBothEndsReachable) {
    TestPlatform platform;
    c_TunePlayer player{&platform};
    // From seed 0 the generator gives 1013904223, r = 3960563 / 2^24.
    RandomSeed() = 0;
    EXPECT_EQ(player.RandomInt(0, 10), 2);
    EXPECT_EQ(RandomSeed(), 1013904223);

    std::array<int, 2> zeroOne{}, oneTwo{};
    RandomSeed() = 99;
    for (int i = 0; i < 4000; i++) {
        const int a = player.RandomInt(0, 1), b = player.RandomInt(1, 2);
        ASSERT_TRUE(a == 0 || a == 1) << a;
        ASSERT_TRUE(b == 1 || b == 2) << b;
        zeroOne[a]++;
        oneTwo[b - 1]++;
    }
    EXPECT_GT(zeroOne[0], 1000);
    EXPECT_GT(zeroOne[1], 1000);
    EXPECT_GT(oneTwo[0], 1000);
    EXPECT_GT(oneTwo[1], 1000);

    // Same sequence as the program's other draws.
    RandomSeed() = 4321;
    const int mine = player.RandomInt(3, 17);
    RandomSeed() = 4321;
    EXPECT_EQ(mine, ::RandomInt(3, 17));
}

TEST(TuneTables, KeysRatesAndProgressions) {
    c_TunePlayer player;
    EXPECT_FLOAT_EQ(player.KeyRatio(u'z'), 0.5f);
    EXPECT_FLOAT_EQ(player.KeyRatio(u'q'), 1.0f);
    EXPECT_FLOAT_EQ(player.KeyRatio(u'j'), 0.891f);
    EXPECT_FLOAT_EQ(player.KeyRatio(u'b'), 0.749f);
    EXPECT_FLOAT_EQ(player.KeyRatio(u']'), 2.996f);
    EXPECT_EQ(player.KeyRatio(u'Q'), 0);
    EXPECT_EQ(player.KeyRatio(u' '), 0);
    EXPECT_FLOAT_EQ(player.NoteRatio(1), 0.5f);
    EXPECT_FLOAT_EQ(player.NoteRatio(25), 2.0f);
    EXPECT_EQ(player.NoteRatio(0), 0);
    EXPECT_EQ(player.NoteRatio(33), 0);
    EXPECT_EQ(player.ProgressionFor(0), u"qqqq");
    EXPECT_EQ(player.ProgressionFor(5), u"qqzz");
    EXPECT_EQ(player.ProgressionFor(6), u"qqjj");
    EXPECT_EQ(player.ProgressionFor(-1), u"qqjj");
}

TEST_F(PlayerTest, DrumNotePicksItsSampleAndPanAndOtherNotesOnlyStop) {
    player.PlayCell(0, 17, 20, 0, 0);
    ASSERT_EQ(player.Calls('P').size(), 1u);
    EXPECT_EQ(player.Calls('P')[0].sound, player.drumsA[3].get());
    EXPECT_EQ(player.Calls('P')[0].channel, 31);
    EXPECT_EQ(player.Calls('P')[0].flags, 0);
    EXPECT_FLOAT_EQ(player.Calls('A')[0].value, -0.35f);

    player.calls.clear();
    player.PlayCell(1, 25, 20, 0, 0);
    EXPECT_EQ(player.Calls('P')[0].sound, player.drumsB[8].get());
    EXPECT_FLOAT_EQ(player.Calls('A')[0].value, 0.35f);

    player.calls.clear();
    player.sounding[0] = 0;
    player.PlayCell(0, 14, 0, 0, 0);
    ASSERT_FALSE(player.calls.empty());
    EXPECT_EQ(player.calls[0].kind, 'S');
    EXPECT_EQ(player.calls[0].channel, 31);
    EXPECT_TRUE(player.Calls('P').empty());
    EXPECT_EQ(player.sounding[0], 0);

    // A missing sample is silent too.
    player.calls.clear();
    player.drumsA[2].reset();
    player.PlayCell(0, 15, 20, 0, 0);
    EXPECT_TRUE(player.Calls('P').empty());
}

TEST_F(PlayerTest, VolumeScalesByMasterAndThirtyOneCuts) {
    player.PlayCell(kLead, 0, 30, 0, 0);
    EXPECT_FLOAT_EQ(player.level[kLead], 1.0f);
    EXPECT_FLOAT_EQ(player.Calls('V').back().value, 0.5f);

    player.PlayCell(kLead, 0, 15, 0, 0);
    EXPECT_FLOAT_EQ(player.level[kLead], 14.0f / 29.0f);

    player.calls.clear();
    player.PlayCell(kLead, 0, 31, 0, 0);
    EXPECT_EQ(player.level[kLead], 0);
    ASSERT_FALSE(player.Calls('V').empty());
    EXPECT_EQ(player.Calls('V').front().value, 0);

    player.PlayCell(kLead, 0, 30, 0, 0);
    player.PlayCell(kLead, 0, 1, 0, 0);
    EXPECT_EQ(player.level[kLead], 0);
    EXPECT_EQ(player.Calls('V').back().value, 0);
}

TEST_F(PlayerTest, MelodicNoteLoopsAtTheChordRootsRate) {
    player.progression = u"jqq";
    player.PlayCell(kLead, 25, 20, 0, 0);
    ASSERT_EQ(player.Calls('R').size(), 1u);
    EXPECT_NEAR(player.Calls('R')[0].value, 1.782f, 1e-5);
    EXPECT_NEAR(player.rate[kLead], 1.782f, 1e-5);
    ASSERT_EQ(player.Calls('P').size(), 1u);
    EXPECT_EQ(player.Calls('P')[0].sound, player.instruments[kLead].get());
    EXPECT_EQ(player.Calls('P')[0].channel, kLeadChannel);
    EXPECT_EQ(player.Calls('P')[0].flags, 1);
    EXPECT_EQ(player.sounding[kLead], 1);

    // Stopped, or with no progression, the root is the sample's own pitch.
    player.calls.clear();
    player.state = 0;
    player.PlayCell(kLead, 25, 20, 0, 0);
    EXPECT_FLOAT_EQ(player.Calls('R')[0].value, 2.0f);
    player.calls.clear();
    player.state = 2;
    player.progression.clear();
    player.PlayCell(kLead, 25, 20, 0, 0);
    EXPECT_FLOAT_EQ(player.Calls('R')[0].value, 2.0f);
}

TEST_F(PlayerTest, SlidesMoveTheRateWithinLimits) {
    player.PlayCell(kLead, 13, 20, 1, 18);  // slow up by 18/180
    EXPECT_NEAR(player.rate[kLead], 1.1f, 1e-6);
    EXPECT_NEAR(player.Calls('R').back().value, 1.1f, 1e-6);
    player.PlayCell(kLead, 0, 0, 3, 15);  // fast up by 1
    EXPECT_NEAR(player.rate[kLead], 2.1f, 1e-6);
    for (int i = 0; i < 5; i++) player.PlayCell(kLead, 0, 0, 3, 31);
    EXPECT_FLOAT_EQ(player.rate[kLead], 4.0f);
    for (int i = 0; i < 5; i++) player.PlayCell(kLead, 0, 0, 4, 31);
    EXPECT_FLOAT_EQ(player.rate[kLead], 0.25f);
    player.PlayCell(kLead, 0, 0, 2, 9);
    EXPECT_FLOAT_EQ(player.rate[kLead], 0.25f);

    player.calls.clear();
    player.PlayCell(kLead, 0, 0, 7, 9);  // no such effect
    EXPECT_TRUE(player.Calls('R').empty());
}

// Level after each of n empty cells following the first.
std::vector<float> LevelsAfter(RecordingPlayer& player, int track, int note, int steps) {
    std::vector<float> levels;
    player.PlayCell(track, note, 30, 0, 0);
    for (int i = 0; i < steps; i++) {
        player.PlayCell(track, 0, 0, 0, 0);
        levels.push_back(player.level[track]);
    }
    return levels;
}

TEST_F(PlayerTest, MelodicNoteHoldsThenFadesToSilenceAfterFifteenSteps) {
    const std::vector<float> levels = LevelsAfter(player, kLead, 13, 16);
    for (int i = 0; i < 4; i++) EXPECT_FLOAT_EQ(levels[i], 1.0f) << "step " << i + 1;
    EXPECT_LT(levels[4], 1.0f);
    EXPECT_NEAR(levels[5], 0.9f, 1e-4);
    EXPECT_NEAR(levels[6], 0.72f, 1e-4);
    EXPECT_GT(levels[13], 1e-5f);  // step 14: still a trace
    EXPECT_LT(levels[14], 1e-7f);  // step 15: silent
    EXPECT_EQ(levels[15], 0);
    EXPECT_EQ(player.Calls('V').back().value, 0);
}

TEST_F(PlayerTest, DrumWithVolumeFadesOneStepSooner) {
    const std::vector<float> levels = LevelsAfter(player, 0, 13, 15);
    for (int i = 0; i < 3; i++) EXPECT_FLOAT_EQ(levels[i], 1.0f) << "step " << i + 1;
    EXPECT_LT(levels[3], 1.0f);
    EXPECT_GT(levels[12], 1e-5f);
    EXPECT_LT(levels[13], 1e-7f);
}

TEST_F(PlayerTest, MutedTrackStaysSilentExceptForItsLeadIn) {
    player.muted[kChords] = 1;
    player.leadIn[kChords] = 1;
    player.nextMuted[kChords] = 0;
    player.sectionLeft = 1;  // last pattern of its section
    for (int s = 0; s < 64; s++) player.SetCell(0, kChords, s, 13, 20);

    auto playsAt = [&](int s) {
        player.calls.clear();
        player.step = s;
        StepNow();
        for (const ChannelCall& c : player.Calls('P'))
            if (c.channel == 28) return true;
        return false;
    };
    EXPECT_FALSE(playsAt(20));
    EXPECT_FALSE(playsAt(55));
    EXPECT_TRUE(playsAt(56));
    EXPECT_TRUE(playsAt(62));

    player.sectionLeft = 2;  // not the section's last pattern
    EXPECT_FALSE(playsAt(60));
    player.sectionLeft = 1;
    player.nextMuted[kChords] = 1;  // stays out next section
    EXPECT_FALSE(playsAt(60));
    player.nextMuted[kChords] = 0;
    player.leadIn[kChords] = 0;  // no lead-in drawn
    EXPECT_FALSE(playsAt(60));
}

TEST_F(PlayerTest, PatternBreakSendsLaterTracksToStep63ThenTheNextPattern) {
    player.sectionLeft = 3;
    player.SetCell(0, 0, 10, 13, 20, 8, 0);
    for (int t = 1; t <= 4; t++) {
        player.SetCell(0, t, 10, 17, 20);  // must not play
        player.SetCell(0, t, 63, 15, 20);
        player.SetCell(0, t, 0, 22, 20);
    }
    player.step = 10;
    StepNow();
    ASSERT_EQ(player.Calls('P').size(), 5u);
    EXPECT_EQ(player.Calls('P')[0].sound, player.drumsA[1].get());
    EXPECT_EQ(player.Calls('P')[1].sound, player.drumsB[2].get());  // note 15, not 17
    ASSERT_EQ(player.Calls('R').size(), 3u);  // the melodic tracks, at their step-63 note
    for (const ChannelCall& r : player.Calls('R')) EXPECT_FLOAT_EQ(r.value, player.NoteRatio(15));
    EXPECT_EQ(player.step, 0);
    EXPECT_EQ(player.sectionLeft, 2);  // a new pattern began

    player.calls.clear();
    StepNow();
    EXPECT_EQ(player.Calls('P')[0].sound, player.drumsB[6].get());  // step 0, note 22
    EXPECT_EQ(player.step, 1);
}

TEST_F(PlayerTest, PatternSwitchFollowsTheSectionParity) {
    player.SetCell(0, kLead, 0, 13, 20, 27, 1);
    player.SetCell(1, kLead, 0, 25, 20, 27, 2);
    auto rateAfterStep = [&](int sectionLeft) {
        player.calls.clear();
        player.step = 0;
        player.sectionLeft = sectionLeft;
        StepNow();
        return player.Calls('R').at(0).value;
    };
    EXPECT_FLOAT_EQ(rateAfterStep(2), 1.0f);  // even: stays on 0
    EXPECT_EQ(player.pattern[kLead], 0);
    EXPECT_FLOAT_EQ(rateAfterStep(3), 2.0f);  // odd: up to 1, whose cell plays
    EXPECT_EQ(player.pattern[kLead], 1);
    EXPECT_FLOAT_EQ(rateAfterStep(3), 2.0f);  // odd: 1 stays
    EXPECT_FLOAT_EQ(rateAfterStep(4), 1.0f);  // even: back down to 0
    EXPECT_EQ(player.pattern[kLead], 0);

    player.state = 0;  // only while playing
    rateAfterStep(3);
    EXPECT_EQ(player.pattern[kLead], 0);
    player.state = 2;

    // A switch never leaves the song.
    player.SetCell(0, kLead, 0, 13, 20, 27, 2);
    rateAfterStep(2);
    EXPECT_EQ(player.pattern[kLead], 0);
}

TEST_F(PlayerTest, StepsAre84MsApartAtTempo95) {
    player.tempo = 95;
    std::vector<int> stepTimes;
    for (platform.nowMs = 0; platform.nowMs < 1000; platform.nowMs++) {
        const int before = player.step;
        player.Update(0, 1);
        if (player.step != before) stepTimes.push_back(platform.nowMs);
    }
    ASSERT_GE(stepTimes.size(), 10u);
    for (size_t i = 1; i < stepTimes.size(); i++) EXPECT_EQ(stepTimes[i] - stepTimes[i - 1], 84);

    player.tempo = 120;  // 66.67 → 66
    const int from = player.nextStepTime;
    StepNow();
    EXPECT_EQ(player.nextStepTime, from + 66);
}

TEST_F(PlayerTest, DueTimeFarAheadCountsAsAClockJump) {
    platform.nowMs = 50000;
    player.nextStepTime = 50000 + 100000;
    player.Step();
    EXPECT_EQ(player.step, 0);  // within reach: waits

    player.nextStepTime = 50000 + 123457;
    player.Step();
    EXPECT_EQ(player.step, 1);
    // The beat restarts from the clock instead of staying far ahead.
    EXPECT_EQ(player.nextStepTime, 50084);
}

TEST_F(PlayerTest, MusicHeldOffResumesAtTempoInsteadOfRacing) {
    platform.nowMs = 1000;
    player.Update(0, 1);
    for (int i = 0; i < 600; i++) {  // ten seconds off
        platform.nowMs += 17;
        player.Update(0, 0);
    }
    const int step = player.step;
    for (int i = 0; i < 10; i++) {  // 170 ms on: two steps, not ten
        platform.nowMs += 17;
        player.Update(0, 1);
    }
    EXPECT_EQ((player.step - step + 64) % 64, 2);
}

TEST_F(PlayerTest, UpdateHoldsWhilePausedAndStopsSoundingChannels) {
    player.PlayCell(kLead, 13, 20, 0, 0);
    player.PlayCell(0, 13, 20, 0, 0);
    platform.nowMs = 5000;
    player.calls.clear();
    player.Update(1, 1);
    EXPECT_EQ(player.nextStepTime, 5150);
    EXPECT_EQ(player.step, 0);
    ASSERT_EQ(player.Calls('S').size(), 2u);
    EXPECT_EQ(player.Calls('S')[0].channel, 31);
    EXPECT_EQ(player.Calls('S')[1].channel, kLeadChannel);
    EXPECT_EQ(player.sounding[kLead], 0);

    platform.nowMs = 5100;  // still held after the pause ends
    player.Update(0, 1);
    EXPECT_EQ(player.step, 0);
    platform.nowMs = 5151;
    player.Update(0, 1);
    EXPECT_EQ(player.step, 1);

    // No steps while loading; none once stopped.
    player.loadCounter = 5;
    platform.nowMs = 9000;
    player.Update(0, 1);
    EXPECT_EQ(player.step, 1);
    player.loadCounter = 0;
    player.StopAll(1);
    EXPECT_EQ(player.state, 0);
    player.Update(0, 1);
    EXPECT_EQ(player.step, 1);
}

TEST_F(PlayerTest, ProgressionGivesOneRootPerPattern) {
    player.progression = u"q";
    player.sectionLeft = 9;
    player.step = 63;
    StepNow();  // a new pattern: a fresh progression, its first root current
    ASSERT_EQ(player.progression.size(), 4u);
    EXPECT_EQ(player.progression[0], u'q');
    const String first = player.progression;
    player.step = 63;
    StepNow();
    EXPECT_EQ(player.progression, first.substr(1));

    player.progression.clear();
    player.step = 63;
    StepNow();
    EXPECT_TRUE(player.progression.empty());
}

// One line per section: length, then per track pattern, muted, nextMuted, leadIn.
using SectionLog = std::vector<std::array<int, 21>>;

SectionLog Arrange(TestPlatform& platform, int songSeed, int32_t gameSeed) {
    RecordingPlayer player{&platform};
    player.Configure(32, 4, 3, 3, 4);
    player.state = 2;
    player.songSeed = songSeed;
    player.lastPattern = {3, 2, 4, 2, 3, 0, 0, 0};
    SectionLog log;
    RandomSeed() = gameSeed;
    while (log.size() < 12) {
        platform.nowMs = player.nextStepTime + 1;
        const int section = player.section;
        player.Step();
        RandomSeed() = int32_t(uint32_t(RandomSeed()) * 3u + 17u);  // the game draws in between
        if (player.section == section) continue;
        std::array<int, 21> line{player.sectionLeft};
        for (int t = 0; t < 5; t++) {
            line[1 + t * 4] = player.pattern[t];
            line[2 + t * 4] = player.muted[t];
            line[3 + t * 4] = player.nextMuted[t];
            line[4 + t * 4] = player.leadIn[t];
        }
        log.push_back(line);
    }
    return log;
}

TEST(TuneArrangement, SameSongSeedGivesTheSamePieceWhateverWasDrawnBefore) {
    TestPlatform platform;
    const SectionLog a = Arrange(platform, 4242, 1);
    const SectionLog b = Arrange(platform, 4242, 987654);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, Arrange(platform, 4243, 1));

    const std::array<int, 5> last = {3, 2, 4, 2, 3};
    for (size_t i = 0; i < a.size(); i++) {
        EXPECT_TRUE(a[i][0] == 2 || a[i][0] == 4);
        for (int t = 0; t < 5; t++) EXPECT_LE(a[i][1 + t * 4], last[t]);
        EXPECT_FALSE(a[i][2] == 1 && a[i][6] == 1) << "both drum tracks muted";
        if (i == 0) continue;
        // Muting comes from the previous section's draw (drums may be forced in).
        for (int t = 1; t < 5; t++) EXPECT_EQ(a[i][2 + t * 4], a[i - 1][3 + t * 4]);
    }

    // Section 1's pattern of track 2 from its own seed: 7·2 + 9·1 + 4242, 11 draws first.
    RandomSeed() = 14 + 9 + 4242;
    for (int i = 0; i < 11; i++) ::RandomInt(1, 5);
    EXPECT_EQ(a[0][1 + 2 * 4], ::RandomInt(0, 4));
}

TEST_F(PlayerTest, StopAllStopsOnlySoundingTracks) {
    player.PlayCell(kLead, 13, 20, 0, 0);
    player.calls.clear();
    player.StopAll(0);
    ASSERT_EQ(player.Calls('S').size(), 1u);
    EXPECT_EQ(player.Calls('S')[0].channel, kLeadChannel);
    EXPECT_EQ(player.state, 2);
    player.calls.clear();
    player.StopAll(1);
    EXPECT_TRUE(player.calls.empty());
    EXPECT_EQ(player.state, 0);
}

}  // namespace
