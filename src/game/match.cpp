// One timed match: a slingshot at the centre, toothpicks on the floor, spiders
// on threads. Everything lives in two fixed pools of 201 records of 10 floats.
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/random.h"
#include "game/game_core.h"
#include "music/tune_player.h"
#include "platform/platform_game.h"

namespace {

constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.29578f;

// Entries of a record, shared by both pools.
enum RecordEntry {
    kState = 0,
    kPosX = 1,
    kPosY = 2,
    kVelX = 3,
    kVelY = 4,
    kAngle = 5,
    kTurn = 6,  // spiders; spin for effects
    kAlpha = 7,
    kExtra = 8,  // multiplier, walk counter, points or debris frame
};
constexpr int kSpin = kTurn;

constexpr float kSpider = 21;
constexpr float kDyingSpider = 22;
constexpr float kFloatingScore = 1;
constexpr float kDebris = 10;

constexpr int kSpiderSheet = 1;
constexpr int kMaxToothpicks = 5;
constexpr float kSlingRange = 96;  // releases closer than this throw
constexpr int kMatchMs = 60000;
constexpr int kPenaltyMs = 2500;
constexpr int kHurtUpdates = 30;
constexpr int kMaxSpiderCap = 150;
// Doubling stops here so a long kill streak stays finite and its points fit an int.
constexpr float kMaxMultiplier = 1073741824.0f;

float Sin(float degrees) {
    return std::sin(degrees * kDegToRad);
}
float Cos(float degrees) {
    return std::cos(degrees * kDegToRad);
}
float Width() {
    return Globals().screenWidth;
}
float Height() {
    return Globals().screenHeight;
}

// True when (x, y) lies more than `margin` units outside the screen.
bool OutsideBand(float x, float y, float margin) {
    return x < -margin || y < -margin || x > Width() + margin || y > Height() + margin;
}

// Record k (as a start index 10·k) of a pool, cleared for a new occupant.
float* TakeRecord(std::array<float, c_GameCore::kPoolSize>& pool, int start) {
    float* r = &pool[start];
    std::fill(r, r + c_GameCore::kRecordSize, 0.0f);
    return r;
}

// Start index of the highest free record, -1 when every record is in use.
// Searching from the top finds the same record as a full upward scan, sooner.
int HighestFree(const std::array<float, c_GameCore::kPoolSize>& pool) {
    for (int k = c_GameCore::kRecords - 1; k >= 0; k--) {
        if (pool[k * c_GameCore::kRecordSize + kState] == 0) return k * c_GameCore::kRecordSize;
    }
    return -1;
}

// Stops the music as a match ends, a second time when the music switch is on.
void StopMatchMusic(c_GameCore& app) {
    if (!app.tunePlayer) return;
    app.tunePlayer->StopAll(1);
    if (Globals().musicSwitch == 1) app.tunePlayer->StopAll(1);
}

// Ends the match: the hand empties and the music stops once.
void EndMatch(c_GameCore& app) {
    if (app.matchOver == 0) StopMatchMusic(app);
    app.matchOver = 1;
    app.heldCharge = 0;
}

// Puts a lying toothpick of the given charge into a free field record.
void PlaceToothpick(c_GameCore& app, int k, float x, float y, float charge) {
    float* r = TakeRecord(app.fieldRecords, k);
    r[kState] = charge;
    r[kPosX] = x;
    r[kPosY] = y;
    r[kAngle] = static_cast<float>(RandomInt(0, 360));
}

// The white stick of a toothpick along its heading.
void QueueToothpickLine(c_GameCore& app, const float* r) {
    float h = static_cast<float>(app.toothpickHalfLength);
    float sx = h * Sin(r[kAngle]), sy = h * Cos(r[kAngle]);
    app.QueueLine(r[kPosX] - sx, r[kPosY] + sy, r[kPosX] + sx, r[kPosY] - sy);
}

// Points of a kill: the doubled multiplier times 5, saturated to an int.
int KillPoints(float multiplier) {
    double points = static_cast<double>(multiplier) * 5.0;
    return points >= INT_MAX ? INT_MAX : static_cast<int>(points);
}

// A green marker under the pointer while a toothpick is in hand.
void DrawHandMarker(c_GameCore& app) {
    if (app.heldCharge <= 0) return;
    float x = static_cast<float>(app.pointerX), y = static_cast<float>(app.pointerY);
    app.SetDrawColor(100, 255, 100, 1);
    app.QueueEllipse(x, y, 12, 12);
    app.SetDrawColor(0, 0, 0, 0.5f);
    app.QueueEllipse(x, y, 10, 10);
}

// The centre ring, green when a throw is possible, red after a hit.
void DrawCentreRing(c_GameCore& app) {
    app.SetDrawColor(100, 180, 255, 0.5f);
    if (app.heldCharge > 0) {
        if (app.aimDistance < kSlingRange) {
            app.SetDrawColor(100, 255, 100, 0.8f);
        } else {
            app.SetDrawColor(100, 180, 100, 0.8f);
        }
    }
    if (app.hurtTimer > 0) {
        app.hurtTimer -= 1;
        float n = static_cast<float>(3 * app.hurtTimer);
        app.SetDrawColor(255, n, n, 0.8f);
    }
    float cx = Width() / 2, cy = Height() / 2;
    app.QueueEllipse(cx, cy, 32, 32);
    app.SetDrawColor(0, 0, 0, 0.5f);
    app.QueueEllipse(cx, cy, 28, 28);
}

// Two bands from the ring's sides to the pointer while aiming.
void DrawBands(c_GameCore& app) {
    if (app.pointerDown <= 0 || app.aimDistance >= kSlingRange || app.heldCharge <= 0) return;
    float cx = Width() / 2, cy = Height() / 2;
    float px = cx + app.aimDistance * Sin(app.aimAngle);
    float py = cy - app.aimDistance * Cos(app.aimAngle);
    app.SetDrawColor(255, 255, 255, 1);
    for (float side : {90.0f, -90.0f}) {
        float a = app.aimAngle + side;
        app.QueueLine(cx + 30 * Sin(a), cy - 30 * Cos(a), px, py);
    }
}

// Letting go throws inside the ring, drops outside it.
void Release(c_GameCore& app) {
    if (app.pointerDown != 0 || app.heldCharge <= 0) return;
    float x = static_cast<float>(app.pointerX), y = static_cast<float>(app.pointerY);
    int k = -1;
    if (app.aimDistance < kSlingRange && (k = app.FreeFieldSlot()) >= 0) {
        float* r = TakeRecord(app.fieldRecords, k);
        int speed = std::clamp(static_cast<int>((app.aimDistance + 32) / 6), 6, 16);
        r[kState] = static_cast<float>(app.heldCharge + 10);
        r[kPosX] = x;
        r[kPosY] = y;
        r[kVelX] = speed * Sin(app.aimAngle + 180);
        r[kVelY] = -speed * Cos(app.aimAngle + 180);
        r[kAngle] = app.aimAngle;
        r[kExtra] = 1;
        app.heldCharge = 0;
        app.PlaySfx(2, RandomFloat(0.8f, 1.2f), 1, 0);
    }
    if (app.heldCharge > 0 && app.aimDistance > kSlingRange - 1 && (k = app.FreeFieldSlot()) >= 0) {
        PlaceToothpick(app, k, x, y, static_cast<float>(app.heldCharge));
        app.heldCharge = 0;
        app.PlaySfx(4, RandomFloat(0.8f, 1.2f), 1, 0);
    }
}

// A score that drifts up and fades.
void UpdateFloatingScore(c_GameCore& app, float* r) {
    r[kPosX] += r[kVelX];
    r[kPosY] += r[kVelY];
    r[kAngle] += r[kSpin];
    app.SetDrawColor(255, 255, 0, r[kAlpha]);
    app.SetDrawRotation(0);
    app.SetDrawScale(1);
    TextBuffer text(u" ");
    text.AppendInt(static_cast<int64_t>(r[kExtra]));
    app.QueueText(r[kPosX], r[kPosY], text.View(), 1, 1);
    r[kAlpha] -= 0.01f;
    if (r[kAlpha] < 0) r[kState] = 0;
}

// Damps one motion value, snapping small ones to rest.
float Damp(float value, float factor) {
    value *= factor;
    return std::abs(value) < 0.1f ? 0.0f : value;
}

// A spinning bit of spider that slows and fades.
void UpdateDebris(c_GameCore& app, float* r) {
    r[kPosX] += r[kVelX];
    r[kPosY] += r[kVelY];
    r[kAngle] += r[kSpin];
    r[kSpin] = Damp(r[kSpin], 0.9f);
    r[kVelX] = Damp(r[kVelX], 0.8f);
    r[kVelY] = Damp(r[kVelY], 0.8f);
    app.SetDrawRotation(r[kAngle]);
    app.SetDrawScale(1);
    app.SetDrawColor(255, 255, 255, r[kAlpha]);
    app.QueueImage(kSpiderSheet, r[kPosX], r[kPosY], r[kExtra]);
    r[kAlpha] -= 0.003f;
    if (r[kAlpha] < 0) r[kState] = 0;
}

// Every effect record moves, draws and fades.
void UpdateEffects(c_GameCore& app) {
    for (int k = 0; k < c_GameCore::kRecords; k++) {
        float* r = &app.effectRecords[k * c_GameCore::kRecordSize];
        if (r[kState] == kFloatingScore) {
            UpdateFloatingScore(app, r);
        } else if (r[kState] == kDebris) {
            UpdateDebris(app, r);
        }
    }
}

// A lying toothpick: drawn on a disc, picked up under a pressed pointer.
void UpdateLyingToothpick(c_GameCore& app, float* r) {
    app.toothpickCount += 1;
    float x = r[kPosX], y = r[kPosY];
    app.SetDrawColor(100, 255, 180, 0.85f);
    app.QueueEllipse(x, y, 10, 10);
    app.SetDrawColor(0, 0, 0, 0.5f);
    app.QueueEllipse(x, y, 8, 8);
    app.SetDrawColor(255, 255, 255, 1);
    QueueToothpickLine(app, r);
    bool under = std::abs(app.pointerX - x) < 16 && std::abs(app.pointerY - y) < 16;
    if (app.pointerDown > 0 && app.heldCharge == 0 && under && app.matchOver == 0) {
        app.heldCharge = static_cast<int>(r[kState]);
        r[kState] = 0;
        app.PlaySfx(5, RandomFloat(0.8f, 1.2f), 1, 0);
    }
}

// A flying toothpick kills every spider within 32 units, doubling its worth each time.
void HitSpiders(c_GameCore& app, float* pick) {
    float x = pick[kPosX], y = pick[kPosY];
    for (int j = 0; j < c_GameCore::kRecords; j++) {
        float* s = &app.fieldRecords[j * c_GameCore::kRecordSize];
        if (s[kState] != kSpider || std::abs(s[kPosX] - x) >= 32 || std::abs(s[kPosY] - y) >= 32) {
            continue;
        }
        s[kState] = kDyingSpider;
        s[kVelX] = pick[kVelX];
        s[kVelY] = pick[kVelY];
        pick[kExtra] = std::min(pick[kExtra] * 2, kMaxMultiplier);
        app.AddScore(KillPoints(pick[kExtra]), static_cast<int>(x), static_cast<int>(y));
        app.SpawnDebris(s[kPosX], s[kPosY], pick[kAngle]);
        app.PlaySfx(3, 0.8f + 0.4f * RandomFloat(), 1, 0);
    }
}

// A flying toothpick moves, leaves past the band and kills what it touches.
void UpdateFlyingToothpick(c_GameCore& app, float* r) {
    r[kPosX] += r[kVelX];
    r[kPosY] += r[kVelY];
    app.SetDrawColor(255, 255, 255, 1);
    QueueToothpickLine(app, r);
    if (OutsideBand(r[kPosX], r[kPosY], 64)) r[kState] = 0;
    HitSpiders(app, r);
}

// Spiders turn back at the edges: one step on the left and top, seven on the right and bottom.
void TurnAtEdges(float* r) {
    float w = Width(), h = Height();
    if (r[kPosX] < -32) r[kPosX] = -32, r[kAngle] += r[kTurn];
    if (r[kPosY] < -32) r[kPosY] = -32, r[kAngle] += r[kTurn];
    if (r[kPosX] > w + 32) r[kPosX] = w + 32, r[kAngle] += 7 * r[kTurn];
    if (r[kPosY] > h + 32) r[kPosY] = h + 32, r[kAngle] += 7 * r[kTurn];
}

// A spider walks, wanders, hangs on its thread and may reach the centre.
void UpdateSpider(c_GameCore& app, float* r) {
    app.spiderCount += 1;
    r[kExtra] = std::fmod(r[kExtra] + 1, 25.0f);
    r[kPosX] += Sin(r[kAngle]);
    r[kPosY] -= Cos(r[kAngle]);
    app.SetDrawRotation(r[kAngle]);
    app.SetDrawColor(255, 255, 255, 1);
    app.SetDrawScale(2);
    app.QueueImage(kSpiderSheet, r[kPosX], r[kPosY], std::floor(r[kExtra] / 5));
    app.SetDrawScale(1);
    TurnAtEdges(r);
    if (RandomInt(0, 16) == 1) r[kAngle] += r[kTurn];
    float cx = Width() / 2, cy = Height() / 2;
    app.SetDrawColor(255, 255, 255, 0.25f);
    app.QueueLine(cx, cy, r[kPosX], r[kPosY]);
    app.SetDrawColor(255, 255, 255, 1);
    bool inCentre = std::abs(r[kPosX] - cx) < 32 && std::abs(r[kPosY] - cy) < 32;
    if (inCentre && app.hurtTimer == 0) {
        app.matchLength -= kPenaltyMs;
        app.hurtTimer = kHurtUpdates;
        app.PlaySfx(1, 1, 1, 0);
    }
}

// A dying spider is flung along the toothpick's path; leaving raises the cap.
void UpdateDyingSpider(c_GameCore& app, float* r) {
    r[kPosX] += r[kVelX];
    r[kPosY] += r[kVelY];
    app.SetDrawRotation(r[kAngle]);
    app.SetDrawColor(255, 255, 255, 1);
    app.SetDrawScale(2);
    app.QueueImage(kSpiderSheet, r[kPosX], r[kPosY], std::floor(r[kExtra] / 5));
    app.SetDrawScale(1);
    if (OutsideBand(r[kPosX], r[kPosY], 64)) {
        r[kState] = 0;
        app.spiderCap = std::min(app.spiderCap + 1, kMaxSpiderCap);
    }
}

// Every field record by its state.
void UpdateField(c_GameCore& app) {
    for (int k = 0; k < c_GameCore::kRecords; k++) {
        float* r = &app.fieldRecords[k * c_GameCore::kRecordSize];
        float s = r[kState];
        if (s > 0 && s < 10) {
            UpdateLyingToothpick(app, r);
        } else if (s > 10 && s < 20) {
            UpdateFlyingToothpick(app, r);
        } else if (s == kSpider) {
            UpdateSpider(app, r);
        } else if (s == kDyingSpider) {
            UpdateDyingSpider(app, r);
        }
    }
}

// Now and then a new toothpick appears away from the centre.
void MaybeSpawnToothpick(c_GameCore& app) {
    if (app.toothpickCount >= kMaxToothpicks || RandomInt(0, 100) != 0) return;
    int k = app.FreeFieldSlot();
    float x = static_cast<float>(RandomInt(32, Width() - 32));
    float y = static_cast<float>(RandomInt(32, Height() - 32));
    bool outsideBox = std::abs(x - Width() / 2) > 80 || std::abs(y - Height() / 2) > 80;
    if (k >= 0 && outsideBox) PlaceToothpick(app, k, x, y, 1);
}

// Spiders arrive from beyond the edges while fewer than the cap live.
void MaybeSpawnSpider(c_GameCore& app) {
    bool wanted =
        (app.spiderCount < app.spiderCap && RandomInt(0, 128) < 26) || app.spiderCount < 2;
    if (!wanted || app.paused != 0) return;
    int k = app.FreeFieldSlot();
    float x = static_cast<float>(RandomInt(-64, Width() + 64));
    float y = static_cast<float>(RandomInt(-64, Height() + 64));
    if (k < 0 || !OutsideBand(x, y, 32)) return;
    float* r = TakeRecord(app.fieldRecords, k);
    r[kState] = kSpider;
    r[kPosX] = x;
    r[kPosY] = y;
    r[kAngle] = static_cast<float>(RandomInt(0, 360));
    r[kTurn] = static_cast<float>(RandomInt(1, 3));
    if (RandomInt(0, 1) == 1) r[kTurn] = -r[kTurn];
    r[kExtra] = static_cast<float>(RandomInt(0, 20));
}

// The shown score eases toward the real one and is drawn at the top.
void DrawScore(c_GameCore& app) {
    int d = app.shownScore - app.score;
    int step = -(d / 6);
    app.shownScore += step;
    if (std::abs(d + step) < 6) app.shownScore = app.score;
    app.SetDrawColor(100, 255, 100, 0.8f);
    app.SetDrawScale(2);
    TextBuffer text(u" ");
    text.Append(c_GameCore::PadNumber(app.shownScore, 8, u"0").View());
    app.QueueText(Width() / 2, 16, text.View(), 1, 1);
}

// Whole seconds left; a quotient below zero ends the match.
void UpdateClock(c_GameCore& app) {
    app.secondsLeft = (app.matchStart + app.matchLength - app.NowMs()) / 1000;
    if (app.secondsLeft < 0) {
        EndMatch(app);
        app.secondsLeft = 0;
    }
    app.secondsShown = app.secondsLeft;
}

// Ticks at 10, 5, 4, 3, 2, 1 and 0 seconds; the last one ends the match.
void UpdateCountdown(c_GameCore& app) {
    if (app.secondsLeft > app.tickThreshold) return;
    app.PlaySfx(6, 1, 1, 0);
    if (app.tickThreshold == 0) {
        app.tickThreshold = -10;
        app.PlaySfx(7, 1, 1, 0);
        EndMatch(app);
    }
    switch (app.tickThreshold) {
        case 1:
            app.tickThreshold = 0;
            break;
        case 2:
            app.tickThreshold = 1;
            break;
        case 3:
            app.tickThreshold = 2;
            break;
        case 4:
            app.tickThreshold = 3;
            break;
        case 5:
            app.tickThreshold = 4;
            break;
        case 10:
            app.tickThreshold = 5;
            break;
        default:
            break;
    }
}

// The time left as mm:ss under the score.
void DrawClock(c_GameCore& app) {
    TextBuffer text(u" ");
    text.Append(c_GameCore::PadNumber(app.secondsLeft / 60, 2, u"0").View());
    text.Append(u':');
    text.Append(c_GameCore::PadNumber(app.secondsLeft % 60, 2, u"0").View());
    app.QueueText(Width() / 2, 36, text.View(), 1, 1);
}

}  // namespace

int c_GameCore::StartMatch() {
    paused = 0;
    tickThreshold = 10;
    SeedRandom(NowMs());
    score = 0;
    matchOver = 0;
    timeUpTimer = 0;
    mode = kModeMatch;
    matchStart = NowMs();
    std::fill(fieldRecords.begin(), fieldRecords.begin() + 2041, 0.0f);
    std::fill(effectRecords.begin(), effectRecords.begin() + 2041, 0.0f);

    // Up to five toothpicks, away from the centre and from the pointer.
    toothpickCount = 0;
    for (int attempt = 0; attempt < 21; attempt++) {
        if (toothpickCount >= kMaxToothpicks) continue;
        int k = FreeFieldSlot();
        float x = static_cast<float>(RandomInt(32, Width() - 32));
        float y = static_cast<float>(RandomInt(32, Height() - 32));
        bool outsideBox = std::abs(x - Width() / 2) > 80 || std::abs(y - Height() / 2) > 80;
        bool awayFromPointer = std::abs(x - pointerX) > 64 || std::abs(y - pointerY) > 64;
        if (k < 0 || !outsideBox || !awayFromPointer) continue;
        PlaceToothpick(*this, k, x, y, 1);
        toothpickCount += 1;
    }

    spiderCap = difficulty == 3 ? 25 : difficulty == 2 ? 3 : 2;
    hurtTimer = 0;
    matchLength = kMatchMs;
    matchStart = NowMs();
    return 0;
}

int c_GameCore::UpdateMatch() {
    BeginDrawList(100, 100, 200, 1);
    float dx = Width() / 2 - pointerX, dy = Height() / 2 - pointerY;
    aimDistance = std::sqrt(dx * dx + dy * dy);
    aimAngle = std::atan2(-dx, dy) * kRadToDeg;
    DrawHandMarker(*this);
    DrawCentreRing(*this);
    DrawBands(*this);
    Release(*this);
    UpdateEffects(*this);

    toothpickCount = heldCharge > 0 ? 1 : 0;
    spiderCount = 0;
    toothpickHalfLength = 12;
    ResetDrawState();
    if (paused == 0) {
        inFieldLoop = true;
        UpdateField(*this);
        inFieldLoop = effectPoolFull = false;
    }
    if (spiderCap > 3 && difficulty == 1) spiderCap = 3;

    ResetDrawState();
    MaybeSpawnToothpick(*this);
    MaybeSpawnSpider(*this);
    DrawScore(*this);
    UpdateClock(*this);
    UpdateCountdown(*this);
    DrawClock(*this);
    return 0;
}

int c_GameCore::FreeFieldSlot() {
    return HighestFree(fieldRecords);
}

int c_GameCore::FreeEffectSlot() {
    if (effectPoolFull) return -1;  // a whole scan per kill would dominate a big streak
    int k = HighestFree(effectRecords);
    effectPoolFull = k < 0 && inFieldLoop;
    return k;
}

int c_GameCore::AddScore(int points, int x, int y) {
    int k = FreeEffectSlot();
    if (k >= 0) {
        float* r = TakeRecord(effectRecords, k);
        r[kState] = kFloatingScore;
        r[kPosX] = static_cast<float>(x);
        r[kPosY] = static_cast<float>(y);
        r[kVelX] = 0;
        r[kVelY] = -0.25f;
        r[kAlpha] = 1;
        r[kExtra] = static_cast<float>(points);
    }
    // Saturate rather than wrap, so a huge streak never turns the score negative.
    int64_t sum = static_cast<int64_t>(score) + points;
    score = static_cast<int>(std::clamp<int64_t>(sum, INT_MIN, INT_MAX));
    return 0;
}

int c_GameCore::SpawnDebris(float x, float y, float angle) {
    RandomFloat();
    int n = RandomInt(3, 5);
    for (int i = 0; i <= n; i++) {
        int k = FreeEffectSlot();
        if (k < 0) break;  // nothing frees up within the loop, and a miss draws no numbers
        float* r = TakeRecord(effectRecords, k);
        float r1 = RandomFloat(), r2 = RandomFloat(), r3 = RandomFloat(), r4 = RandomFloat();
        float b = angle + 24 * r3 - 12;
        float v = 7 * r4 + 1;
        r[kState] = kDebris;
        r[kPosX] = x + 16 * r1 - 8;
        r[kPosY] = y + 16 * r2 - 8;
        r[kVelX] = -v * Sin(b);
        r[kVelY] = v * Cos(b);
        r[kAngle] = static_cast<float>(RandomInt(0, 360));
        r[kSpin] = 4 * RandomFloat() - 2;
        r[kAlpha] = 1;
        r[kExtra] = static_cast<float>(RandomInt(5, 7));
    }
    return 0;
}
