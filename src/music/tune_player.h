// A small tracker-style music player: patterns of 64 steps for 5 tracks,
// decoded from a song sheet picture, arranged at run time from a seed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/text.h"

class c_Image;
class c_Sound;

class GameClock;

class c_TunePlayer {
  public:
    static constexpr int kSongSize = 262145;

    // The clock the beat follows; without one (tests) time stands still.
    explicit c_TunePlayer(GameClock* clock = nullptr);
    virtual ~c_TunePlayer();

    int Configure(int baseChannel, int s1, int s2, int s3, int s4);
    int LoadStep();
    int RenderLoading();
    int StopAll(int reset);
    float KeyRatio(char16_t c);
    float NoteRatio(int n);
    int PlayCell(int track, int note, int volume, int effect, int parameter);
    int RandomInt(float low, float high);
    String ProgressionFor(int type);
    int Step();
    int Update(int paused, int on);

    // Index of field f of track t at step s of pattern p.
    static int SongIndex(int p, int t, int s, int f) { return ((p * 8 + t) * 64 + s) * 8 + f; }

    int baseChannel = 0;
    std::array<int32_t, 8> style{};
    int loadCounter = 0;
    std::array<int32_t, 8> kits{};
    std::array<std::shared_ptr<c_Sound>, 9> drumsA{};
    std::array<std::shared_ptr<c_Sound>, 9> drumsB{};
    std::array<std::shared_ptr<c_Sound>, 8> instruments{};
    String sheetPath;
    std::shared_ptr<c_Image> sheet;
    std::vector<int32_t> song;  // kSongSize entries, allocated once
    std::array<int32_t, 8> lastPattern{};
    int nextStepTime = 0;
    int state = 0;
    int trackCount = 5;
    std::array<int32_t, 8> channel{};
    std::array<int32_t, 8> sounding{};
    std::array<int32_t, 8> pattern{};
    int step = 0;
    int sectionLeft = 0;
    std::array<int32_t, 8> muted{};
    std::array<int32_t, 8> leadIn{};
    std::array<int32_t, 8> nextMuted{};
    float rootRatio = 0;
    String progression;
    std::array<float, 8> rate{};
    std::array<float, 8> envelope{};
    float volume = 0.5f;
    std::array<float, 8> level{};
    int tempo = 95;
    int songSeed = 0;
    int section = 0;

  protected:
    // Every channel call goes through these, so a test can record what the
    // player asked of the audio device; the default is the real device.
    virtual void PlaySound(c_Sound* sound, int channel, int flags);
    virtual void StopChannel(int channel);
    virtual void AdjustVolume(int channel, float volume);
    virtual void AdjustPan(int channel, float pan);
    virtual void AdjustRate(int channel, float rate);

  private:
    int Now() const;  // the platform clock in milliseconds

    GameClock* clock_ = nullptr;
    struct Cell {
        int note = 0, volume = 0, effect = 0, parameter = 0;
    };
    // The cell of track t at step s of pattern p; empty outside the song.
    Cell CellAt(int p, int t, int s) const;
    // Tracks that index the fixed arrays (trackCount kept within 0..8).
    int Tracks() const;
    void DecodePattern(int p);
    void NewPattern();
    void NewSection();
};
