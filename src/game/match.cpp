// One timed match: a slingshot at the centre, toothpicks on the floor, spiders
// on threads. Everything lives in two fixed pools of 201 records.
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/degree_math.h"
#include "core/random.h"
#include "game/game_core.h"
#include "music/tune_player.h"
#include "platform/platform_game.h"

// Searching from the top finds the same record as a full upward scan, sooner.
int HighestFree(const RecordPool& pool) {
    for (int k = kRecords - 1; k >= 0; k--) {
        if (pool[static_cast<size_t>(k)].IsFree()) return RecordStart(k);
    }
    return -1;
}

Record& TakeRecord(RecordPool& pool, int start) {
    Record& r = pool[static_cast<size_t>(RecordIndex(start))];
    r = Record{};
    return r;
}

namespace {

constexpr int kMaxToothpicks = 5;
constexpr float kSlingRange = 96;  // releases closer than this throw
constexpr int kMatchMs = 60000;
constexpr int kPenaltyMs = 2500;
constexpr int kHurtUpdates = 30;
constexpr int kMaxSpiderCap = 150;
// Doubling stops here so a long kill streak stays finite and its points fit an int.
constexpr float kMaxMultiplier = 1073741824.0f;

// True when (x, y) lies more than `margin` units outside the screen.
bool OutsideBand(const ScreenFit& screen, float x, float y, float margin) {
    return x < -margin || y < -margin || x > screen.screenWidth + margin ||
           y > screen.screenHeight + margin;
}

// Stops the music as a match ends, a second time when the music switch is on.
void StopMatchMusic(c_GameCore& app) {
    if (!app.media.tunePlayer) return;
    app.media.tunePlayer->StopAll(1);
    if (Globals().musicSwitch == 1) app.media.tunePlayer->StopAll(1);
}

// Puts a lying toothpick of the given charge into a free field record.
void PlaceToothpick(c_GameCore& app, int k, float x, float y, float charge) {
    Record& r = TakeRecord(app.match.fieldRecords, k);
    r.state = charge;
    r.x = x;
    r.y = y;
    r.angle = static_cast<float>(RandomInt(0, 360));
}

// The white stick of a toothpick along its heading.
void QueueToothpickLine(c_GameCore& app, const Record& r) {
    float h = static_cast<float>(app.match.toothpickHalfLength);
    float sx = h * SinDegFactor(r.angle), sy = h * CosDegFactor(r.angle);
    app.QueueLine(r.x - sx, r.y + sy, r.x + sx, r.y - sy);
}

// Points of a kill: the doubled multiplier times 5, saturated to an int.
int KillPoints(float multiplier) {
    double points = static_cast<double>(multiplier) * 5.0;
    return points >= INT_MAX ? INT_MAX : static_cast<int>(points);
}

// A green marker under the pointer while a toothpick is in hand.
void DrawHandMarker(c_GameCore& app) {
    if (app.match.heldCharge <= 0) return;
    float x = static_cast<float>(app.input.pointerX), y = static_cast<float>(app.input.pointerY);
    app.SetDrawColor(100, 255, 100, 1);
    app.QueueEllipse(x, y, 12, 12);
    app.SetDrawColor(0, 0, 0, 0.5f);
    app.QueueEllipse(x, y, 10, 10);
}

// The centre ring, green when a throw is possible, red after a hit.
void DrawCentreRing(c_GameCore& app) {
    app.SetDrawColor(100, 180, 255, 0.5f);
    if (app.match.heldCharge > 0) {
        if (app.match.aimDistance < kSlingRange) {
            app.SetDrawColor(100, 255, 100, 0.8f);
        } else {
            app.SetDrawColor(100, 180, 100, 0.8f);
        }
    }
    if (app.match.hurtTimer > 0) {
        app.match.hurtTimer -= 1;
        float n = static_cast<float>(3 * app.match.hurtTimer);
        app.SetDrawColor(255, n, n, 0.8f);
    }
    float cx = app.screen.screenWidth / 2, cy = app.screen.screenHeight / 2;
    app.QueueEllipse(cx, cy, 32, 32);
    app.SetDrawColor(0, 0, 0, 0.5f);
    app.QueueEllipse(cx, cy, 28, 28);
}

// Two bands from the ring's sides to the pointer while aiming.
void DrawBands(c_GameCore& app) {
    if (app.input.pointerDown <= 0 || app.match.aimDistance >= kSlingRange ||
        app.match.heldCharge <= 0)
        return;
    float cx = app.screen.screenWidth / 2, cy = app.screen.screenHeight / 2;
    float px = cx + app.match.aimDistance * SinDegFactor(app.match.aimAngle);
    float py = cy - app.match.aimDistance * CosDegFactor(app.match.aimAngle);
    app.SetDrawColor(255, 255, 255, 1);
    for (float side : {90.0f, -90.0f}) {
        float a = app.match.aimAngle + side;
        app.QueueLine(cx + 30 * SinDegFactor(a), cy - 30 * CosDegFactor(a), px, py);
    }
}

// Letting go throws inside the ring, drops outside it.
void Release(c_GameCore& app) {
    if (app.input.pointerDown != 0 || app.match.heldCharge <= 0) return;
    float x = static_cast<float>(app.input.pointerX), y = static_cast<float>(app.input.pointerY);
    int k = -1;
    if (app.match.aimDistance < kSlingRange && (k = app.FreeFieldSlot()) >= 0) {
        Record& r = TakeRecord(app.match.fieldRecords, k);
        int speed = std::clamp(static_cast<int>((app.match.aimDistance + 32) / 6), 6, 16);
        r.Set(app.match.heldCharge + kFlyingOffset);
        r.x = x;
        r.y = y;
        r.velX = speed * SinDegFactor(app.match.aimAngle + 180);
        r.velY = -speed * CosDegFactor(app.match.aimAngle + 180);
        r.angle = app.match.aimAngle;
        r.extra = 1;
        app.match.heldCharge = 0;
        app.PlaySfx(kSfxThrow, RandomFloat(0.8f, 1.2f), 1, 0);
    }
    if (app.match.heldCharge > 0 && app.match.aimDistance > kSlingRange - 1 &&
        (k = app.FreeFieldSlot()) >= 0) {
        PlaceToothpick(app, k, x, y, static_cast<float>(app.match.heldCharge));
        app.match.heldCharge = 0;
        app.PlaySfx(kSfxDrop, RandomFloat(0.8f, 1.2f), 1, 0);
    }
}

// A score that drifts up and fades.
void UpdateFloatingScore(c_GameCore& app, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    r.angle += r.turn;
    app.SetDrawColor(255, 255, 0, r.alpha);
    app.SetDrawRotation(0);
    app.SetDrawScale(1);
    TextBuffer text(u" ");
    text.AppendInt(static_cast<int64_t>(r.extra));
    app.QueueText(r.x, r.y, text.View(), 1, 1);
    r.alpha -= 0.01f;
    if (r.alpha < 0) r.state = 0;
}

// Damps one motion value, snapping small ones to rest.
float Damp(float value, float factor) {
    value *= factor;
    return std::abs(value) < 0.1f ? 0.0f : value;
}

// A spinning bit of spider that slows and fades.
void UpdateDebris(c_GameCore& app, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    r.angle += r.turn;
    r.turn = Damp(r.turn, 0.9f);
    r.velX = Damp(r.velX, 0.8f);
    r.velY = Damp(r.velY, 0.8f);
    app.SetDrawRotation(r.angle);
    app.SetDrawScale(1);
    app.SetDrawColor(255, 255, 255, r.alpha);
    app.QueueImage(kImageSpiders, r.x, r.y, r.extra);
    r.alpha -= 0.003f;
    if (r.alpha < 0) r.state = 0;
}

// Every effect record moves, draws and fades.
void UpdateEffects(c_GameCore& app) {
    for (int k = 0; k < kRecords; k++) {
        Record& r = app.match.effectRecords[static_cast<size_t>(k)];
        if (r.Is(kFloatingScore)) {
            UpdateFloatingScore(app, r);
        } else if (r.Is(kDebris)) {
            UpdateDebris(app, r);
        }
    }
}

// A lying toothpick: drawn on a disc, picked up under a pressed pointer.
void UpdateLyingToothpick(c_GameCore& app, Record& r) {
    app.match.toothpickCount += 1;
    float x = r.x, y = r.y;
    app.SetDrawColor(100, 255, 180, 0.85f);
    app.QueueEllipse(x, y, 10, 10);
    app.SetDrawColor(0, 0, 0, 0.5f);
    app.QueueEllipse(x, y, 8, 8);
    app.SetDrawColor(255, 255, 255, 1);
    QueueToothpickLine(app, r);
    bool under = std::abs(app.input.pointerX - x) < 16 && std::abs(app.input.pointerY - y) < 16;
    if (app.input.pointerDown > 0 && app.match.heldCharge == 0 && under &&
        app.match.matchOver == 0) {
        app.match.heldCharge = static_cast<int>(r.state);
        r.state = 0;
        app.PlaySfx(kSfxPickUp, RandomFloat(0.8f, 1.2f), 1, 0);
    }
}

// A flying toothpick kills every spider within 32 units, doubling its worth each time.
void HitSpiders(c_GameCore& app, Record& pick) {
    float x = pick.x, y = pick.y;
    for (int j = 0; j < kRecords; j++) {
        Record& s = app.match.fieldRecords[static_cast<size_t>(j)];
        if (!s.Is(kSpider) || std::abs(s.x - x) >= 32 || std::abs(s.y - y) >= 32) {
            continue;
        }
        s.Set(kDyingSpider);
        s.velX = pick.velX;
        s.velY = pick.velY;
        pick.extra = std::min(pick.extra * 2, kMaxMultiplier);
        app.AddScore(KillPoints(pick.extra), static_cast<int>(x), static_cast<int>(y));
        app.SpawnDebris(s.x, s.y, pick.angle);
        app.PlaySfx(kSfxSpiderHit, 0.8f + 0.4f * RandomFloat(), 1, 0);
    }
}

// A flying toothpick moves, leaves past the band and kills what it touches.
void UpdateFlyingToothpick(c_GameCore& app, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    app.SetDrawColor(255, 255, 255, 1);
    QueueToothpickLine(app, r);
    if (OutsideBand(app.screen, r.x, r.y, 64)) r.state = 0;
    HitSpiders(app, r);
}

// Spiders turn back at the edges: one step on the left and top, seven on the right and bottom.
void TurnAtEdges(const ScreenFit& screen, Record& r) {
    float w = screen.screenWidth, h = screen.screenHeight;
    if (r.x < -32) r.x = -32, r.angle += r.turn;
    if (r.y < -32) r.y = -32, r.angle += r.turn;
    if (r.x > w + 32) r.x = w + 32, r.angle += 7 * r.turn;
    if (r.y > h + 32) r.y = h + 32, r.angle += 7 * r.turn;
}

// A spider walks, wanders, hangs on its thread and may reach the centre.
void UpdateSpider(c_GameCore& app, Record& r) {
    app.match.spiderCount += 1;
    r.extra = std::fmod(r.extra + 1, 25.0f);
    r.x += SinDegFactor(r.angle);
    r.y -= CosDegFactor(r.angle);
    app.SetDrawRotation(r.angle);
    app.SetDrawColor(255, 255, 255, 1);
    app.SetDrawScale(2);
    app.QueueImage(kImageSpiders, r.x, r.y, std::floor(r.extra / 5));
    app.SetDrawScale(1);
    TurnAtEdges(app.screen, r);
    if (RandomInt(0, 16) == 1) r.angle += r.turn;
    float cx = app.screen.screenWidth / 2, cy = app.screen.screenHeight / 2;
    app.SetDrawColor(255, 255, 255, 0.25f);
    app.QueueLine(cx, cy, r.x, r.y);
    app.SetDrawColor(255, 255, 255, 1);
    bool inCentre = std::abs(r.x - cx) < 32 && std::abs(r.y - cy) < 32;
    if (inCentre && app.match.hurtTimer == 0) {
        app.match.matchLength -= kPenaltyMs;
        app.match.hurtTimer = kHurtUpdates;
        app.PlaySfx(kSfxSpiderInCentre, 1, 1, 0);
    }
}

// A dying spider is flung along the toothpick's path; leaving raises the cap.
void UpdateDyingSpider(c_GameCore& app, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    app.SetDrawRotation(r.angle);
    app.SetDrawColor(255, 255, 255, 1);
    app.SetDrawScale(2);
    app.QueueImage(kImageSpiders, r.x, r.y, std::floor(r.extra / 5));
    app.SetDrawScale(1);
    if (OutsideBand(app.screen, r.x, r.y, 64)) {
        r.state = 0;
        app.match.spiderCap = std::min(app.match.spiderCap + 1, kMaxSpiderCap);
    }
}

// Every field record by its state.
void UpdateField(c_GameCore& app) {
    for (int k = 0; k < kRecords; k++) {
        Record& r = app.match.fieldRecords[static_cast<size_t>(k)];
        if (IsLying(r)) {
            UpdateLyingToothpick(app, r);
        } else if (IsFlying(r)) {
            UpdateFlyingToothpick(app, r);
        } else if (r.Is(kSpider)) {
            UpdateSpider(app, r);
        } else if (r.Is(kDyingSpider)) {
            UpdateDyingSpider(app, r);
        }
    }
}

// Now and then a new toothpick appears away from the centre.
void MaybeSpawnToothpick(c_GameCore& app) {
    if (app.match.toothpickCount >= kMaxToothpicks || RandomInt(0, 100) != 0) return;
    int k = app.FreeFieldSlot();
    float x = static_cast<float>(RandomInt(32, app.screen.screenWidth - 32));
    float y = static_cast<float>(RandomInt(32, app.screen.screenHeight - 32));
    bool outsideBox = std::abs(x - app.screen.screenWidth / 2) > 80 ||
                      std::abs(y - app.screen.screenHeight / 2) > 80;
    if (k >= 0 && outsideBox) PlaceToothpick(app, k, x, y, 1);
}

// Spiders arrive from beyond the edges while fewer than the cap live.
void MaybeSpawnSpider(c_GameCore& app) {
    bool wanted = (app.match.spiderCount < app.match.spiderCap && RandomInt(0, 128) < 26) ||
                  app.match.spiderCount < 2;
    if (!wanted || app.pause.paused != 0) return;
    int k = app.FreeFieldSlot();
    float x = static_cast<float>(RandomInt(-64, app.screen.screenWidth + 64));
    float y = static_cast<float>(RandomInt(-64, app.screen.screenHeight + 64));
    if (k < 0 || !OutsideBand(app.screen, x, y, 32)) return;
    Record& r = TakeRecord(app.match.fieldRecords, k);
    r.Set(kSpider);
    r.x = x;
    r.y = y;
    r.angle = static_cast<float>(RandomInt(0, 360));
    r.turn = static_cast<float>(RandomInt(1, 3));
    if (RandomInt(0, 1) == 1) r.turn = -r.turn;
    r.extra = static_cast<float>(RandomInt(0, 20));
}

// The shown score eases toward the real one and is drawn at the top.
void DrawScore(c_GameCore& app) {
    int d = app.match.shownScore - app.match.score;
    int step = -(d / 6);
    app.match.shownScore += step;
    if (std::abs(d + step) < 6) app.match.shownScore = app.match.score;
    app.SetDrawColor(100, 255, 100, 0.8f);
    app.SetDrawScale(2);
    TextBuffer text(u" ");
    text.Append(c_GameCore::PadNumber(app.match.shownScore, 8, u"0").View());
    app.QueueText(app.screen.screenWidth / 2, 16, text.View(), 1, 1);
}

// Whole seconds left; a quotient below zero ends the match.
void UpdateClock(c_GameCore& app) {
    app.match.secondsLeft = (app.match.matchStart + app.match.matchLength - app.NowMs()) / 1000;
    if (app.match.secondsLeft < 0) {
        app.EndMatch();
        app.match.secondsLeft = 0;
    }
    app.match.secondsShown = app.match.secondsLeft;
}

// Ticks at 10, 5, 4, 3, 2, 1 and 0 seconds; the last one ends the match.
void UpdateCountdown(c_GameCore& app) {
    if (app.match.secondsLeft > app.match.tickThreshold) return;
    app.PlaySfx(kSfxTick, 1, 1, 0);
    if (app.match.tickThreshold == 0) {
        app.match.tickThreshold = -10;
        app.PlaySfx(kSfxTimeUp, 1, 1, 0);
        app.EndMatch();
    }
    switch (app.match.tickThreshold) {
        case 1:
            app.match.tickThreshold = 0;
            break;
        case 2:
            app.match.tickThreshold = 1;
            break;
        case 3:
            app.match.tickThreshold = 2;
            break;
        case 4:
            app.match.tickThreshold = 3;
            break;
        case 5:
            app.match.tickThreshold = 4;
            break;
        case 10:
            app.match.tickThreshold = 5;
            break;
        default:
            break;
    }
}

// The time left as mm:ss under the score.
void DrawClock(c_GameCore& app) {
    TextBuffer text(u" ");
    text.Append(c_GameCore::PadNumber(app.match.secondsLeft / 60, 2, u"0").View());
    text.Append(u':');
    text.Append(c_GameCore::PadNumber(app.match.secondsLeft % 60, 2, u"0").View());
    app.QueueText(app.screen.screenWidth / 2, 36, text.View(), 1, 1);
}

}  // namespace

int c_GameCore::StartMatch() {
    pause.paused = 0;
    match.tickThreshold = 10;
    SeedRandom(NowMs());
    match.score = 0;
    match.matchOver = 0;
    timeUp.timeUpTimer = 0;
    mode = kModeMatch;
    match.matchStart = NowMs();
    match.fieldRecords.fill(Record{});
    match.effectRecords.fill(Record{});

    // Up to five toothpicks, away from the centre and from the pointer.
    match.toothpickCount = 0;
    for (int attempt = 0; attempt < 21; attempt++) {
        if (match.toothpickCount >= kMaxToothpicks) continue;
        int k = FreeFieldSlot();
        float x = static_cast<float>(RandomInt(32, screen.screenWidth - 32));
        float y = static_cast<float>(RandomInt(32, screen.screenHeight - 32));
        bool outsideBox =
            std::abs(x - screen.screenWidth / 2) > 80 || std::abs(y - screen.screenHeight / 2) > 80;
        bool awayFromPointer =
            std::abs(x - input.pointerX) > 64 || std::abs(y - input.pointerY) > 64;
        if (k < 0 || !outsideBox || !awayFromPointer) continue;
        PlaceToothpick(*this, k, x, y, 1);
        match.toothpickCount += 1;
    }

    match.spiderCap = title.difficulty == 3 ? 25 : title.difficulty == 2 ? 3 : 2;
    match.hurtTimer = 0;
    match.matchLength = kMatchMs;
    match.matchStart = NowMs();
    return 0;
}

int c_GameCore::UpdateMatch() {
    BeginDrawList(100, 100, 200, 1);
    float dx = screen.screenWidth / 2 - input.pointerX,
          dy = screen.screenHeight / 2 - input.pointerY;
    match.aimDistance = std::sqrt(dx * dx + dy * dy);
    match.aimAngle = std::atan2(-dx, dy) * kRadToDeg;
    DrawHandMarker(*this);
    DrawCentreRing(*this);
    DrawBands(*this);
    Release(*this);
    UpdateEffects(*this);

    match.toothpickCount = match.heldCharge > 0 ? 1 : 0;
    match.spiderCount = 0;
    match.toothpickHalfLength = 12;
    ResetDrawState();
    if (pause.paused == 0) {
        match.inFieldLoop = true;
        UpdateField(*this);
        match.inFieldLoop = match.effectPoolFull = false;
    }
    if (match.spiderCap > 3 && title.difficulty == 1) match.spiderCap = 3;

    ResetDrawState();
    MaybeSpawnToothpick(*this);
    MaybeSpawnSpider(*this);
    DrawScore(*this);
    UpdateClock(*this);
    UpdateCountdown(*this);
    DrawClock(*this);
    return 0;
}

void c_GameCore::EndMatch() {
    if (match.matchOver == 0) StopMatchMusic(*this);
    match.matchOver = 1;
    match.heldCharge = 0;
}

int c_GameCore::FreeFieldSlot() {
    return HighestFree(match.fieldRecords);
}

int c_GameCore::FreeEffectSlot() {
    if (match.effectPoolFull) return -1;  // a whole scan per kill would dominate a big streak
    int k = HighestFree(match.effectRecords);
    match.effectPoolFull = k < 0 && match.inFieldLoop;
    return k;
}

int c_GameCore::AddScore(int points, int x, int y) {
    int k = FreeEffectSlot();
    if (k >= 0) {
        Record& r = TakeRecord(match.effectRecords, k);
        r.Set(kFloatingScore);
        r.x = static_cast<float>(x);
        r.y = static_cast<float>(y);
        r.velX = 0;
        r.velY = -0.25f;
        r.alpha = 1;
        r.extra = static_cast<float>(points);
    }
    // Saturate rather than wrap, so a huge streak never turns the score negative.
    int64_t sum = static_cast<int64_t>(match.score) + points;
    match.score = static_cast<int>(std::clamp<int64_t>(sum, INT_MIN, INT_MAX));
    return 0;
}

int c_GameCore::SpawnDebris(float x, float y, float angle) {
    RandomFloat();
    int n = RandomInt(3, 5);
    for (int i = 0; i <= n; i++) {
        int k = FreeEffectSlot();
        if (k < 0) break;  // nothing frees up within the loop, and a miss draws no numbers
        Record& r = TakeRecord(match.effectRecords, k);
        float r1 = RandomFloat(), r2 = RandomFloat(), r3 = RandomFloat(), r4 = RandomFloat();
        float b = angle + 24 * r3 - 12;
        float v = 7 * r4 + 1;
        r.Set(kDebris);
        r.x = x + 16 * r1 - 8;
        r.y = y + 16 * r2 - 8;
        r.velX = -v * SinDegFactor(b);
        r.velY = v * CosDegFactor(b);
        r.angle = static_cast<float>(RandomInt(0, 360));
        r.turn = 4 * RandomFloat() - 2;
        r.alpha = 1;
        r.extra = static_cast<float>(RandomInt(5, 7));
    }
    return 0;
}
