// One timed match: a slingshot at the centre, toothpicks on the floor, spiders
// on threads. Everything lives in two fixed pools of 201 records; every
// stroke, sound and clock reading goes through the Frame.
#include "game/play/match.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/degree_math.h"
#include "core/random.h"
#include "game/play/game_ids.h"

namespace {

constexpr int kMaxToothpicks = 5;
constexpr float kSlingRange = 96;  // releases closer than this throw
constexpr int kMatchMs = 60000;
constexpr int kPenaltyMs = 2500;
constexpr int kHurtUpdates = 30;
constexpr int kMaxSpiderCap = 150;
constexpr int kSilentThreshold = -10;  // below every tick: the countdown is done
// Doubling stops here so a long kill streak stays finite and its points fit an int.
constexpr float kMaxMultiplier = 1073741824.0f;

// True when (x, y) lies more than `margin` units outside the screen.
bool OutsideBand(const ScreenFit& screen, float x, float y, float margin) {
    return x < -margin || y < -margin || x > screen.screenWidth + margin ||
           y > screen.screenHeight + margin;
}

int FreeFieldSlot(const MatchState& m) {
    return HighestFree(m.fieldRecords);
}

int FreeEffectSlot(MatchState& m) {
    if (m.effectPoolFull) return -1;  // a whole scan per kill would dominate a big streak
    int k = HighestFree(m.effectRecords);
    m.effectPoolFull = k < 0 && m.inFieldLoop;
    return k;
}

// A floating score where a kill happened; the points count even without room for it.
void AddScore(MatchState& m, int points, int x, int y) {
    int k = FreeEffectSlot(m);
    if (k >= 0) {
        Record& r = TakeRecord(m.effectRecords, k);
        r.Set(kFloatingScore);
        r.x = static_cast<float>(x);
        r.y = static_cast<float>(y);
        r.velX = 0;
        r.velY = -0.25f;
        r.alpha = 1;
        r.extra = static_cast<float>(points);
    }
    // Saturate rather than wrap, so a huge streak never turns the score negative.
    int64_t sum = static_cast<int64_t>(m.score) + points;
    m.score = static_cast<int>(std::clamp<int64_t>(sum, INT_MIN, INT_MAX));
}

// Four to six bits of spider flying on along the toothpick's path.
void SpawnDebris(MatchState& m, float x, float y, float angle) {
    RandomFloat();
    int n = RandomInt(3, 5);
    for (int i = 0; i <= n; i++) {
        int k = FreeEffectSlot(m);
        if (k < 0) break;  // nothing frees up within the loop, and a miss draws no numbers
        Record& r = TakeRecord(m.effectRecords, k);
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
}

// Puts a lying toothpick of the given charge into a free field record.
void PlaceToothpick(MatchState& m, int k, float x, float y, float charge) {
    Record& r = TakeRecord(m.fieldRecords, k);
    r.state = charge;
    r.x = x;
    r.y = y;
    r.angle = static_cast<float>(RandomInt(0, 360));
}

// The white stick of a toothpick along its heading.
void QueueToothpickLine(const MatchState& m, Pen& pen, const Record& r) {
    float h = static_cast<float>(m.toothpickHalfLength);
    float sx = h * SinDegFactor(r.angle), sy = h * CosDegFactor(r.angle);
    pen.QueueLine(r.x - sx, r.y + sy, r.x + sx, r.y - sy);
}

// Points of a kill: the doubled multiplier times 5, saturated to an int.
int KillPoints(float multiplier) {
    double points = static_cast<double>(multiplier) * 5.0;
    return points >= INT_MAX ? INT_MAX : static_cast<int>(points);
}

// A green marker under the pointer while a toothpick is in hand.
void DrawHandMarker(const MatchState& m, Frame& f) {
    if (m.heldCharge <= 0) return;
    float x = static_cast<float>(f.input.pointerX), y = static_cast<float>(f.input.pointerY);
    f.pen.SetColor(100, 255, 100, 1);
    f.pen.QueueEllipse(x, y, 12, 12);
    f.pen.SetColor(0, 0, 0, 0.5f);
    f.pen.QueueEllipse(x, y, 10, 10);
}

// The centre ring, green when a throw is possible, red after a hit.
void DrawCentreRing(MatchState& m, Frame& f) {
    f.pen.SetColor(100, 180, 255, 0.5f);
    if (m.heldCharge > 0) {
        if (m.aimDistance < kSlingRange) {
            f.pen.SetColor(100, 255, 100, 0.8f);
        } else {
            f.pen.SetColor(100, 180, 100, 0.8f);
        }
    }
    if (m.hurtTimer > 0) {
        m.hurtTimer -= 1;
        float n = static_cast<float>(3 * m.hurtTimer);
        f.pen.SetColor(255, n, n, 0.8f);
    }
    float cx = f.screen.screenWidth / 2, cy = f.screen.screenHeight / 2;
    f.pen.QueueEllipse(cx, cy, 32, 32);
    f.pen.SetColor(0, 0, 0, 0.5f);
    f.pen.QueueEllipse(cx, cy, 28, 28);
}

// Two bands from the ring's sides to the pointer while aiming.
void DrawBands(const MatchState& m, Frame& f) {
    if (f.input.pointerDown <= 0 || m.aimDistance >= kSlingRange || m.heldCharge <= 0) return;
    float cx = f.screen.screenWidth / 2, cy = f.screen.screenHeight / 2;
    float px = cx + m.aimDistance * SinDegFactor(m.aimAngle);
    float py = cy - m.aimDistance * CosDegFactor(m.aimAngle);
    f.pen.SetColor(255, 255, 255, 1);
    for (float side : {90.0f, -90.0f}) {
        float a = m.aimAngle + side;
        f.pen.QueueLine(cx + 30 * SinDegFactor(a), cy - 30 * CosDegFactor(a), px, py);
    }
}

// Letting go throws inside the ring, drops outside it.
void Release(MatchState& m, Frame& f) {
    if (f.input.pointerDown != 0 || m.heldCharge <= 0) return;
    float x = static_cast<float>(f.input.pointerX), y = static_cast<float>(f.input.pointerY);
    int k = -1;
    if (m.aimDistance < kSlingRange && (k = FreeFieldSlot(m)) >= 0) {
        Record& r = TakeRecord(m.fieldRecords, k);
        int speed = std::clamp(static_cast<int>((m.aimDistance + 32) / 6), 6, 16);
        r.Set(m.heldCharge + kFlyingOffset);
        r.x = x;
        r.y = y;
        r.velX = speed * SinDegFactor(m.aimAngle + 180);
        r.velY = -speed * CosDegFactor(m.aimAngle + 180);
        r.angle = m.aimAngle;
        r.extra = 1;
        m.heldCharge = 0;
        f.sounds.Cue(kSfxThrow, RandomFloat(0.8f, 1.2f), 1, 0);
    }
    if (m.heldCharge > 0 && m.aimDistance > kSlingRange - 1 && (k = FreeFieldSlot(m)) >= 0) {
        PlaceToothpick(m, k, x, y, static_cast<float>(m.heldCharge));
        m.heldCharge = 0;
        f.sounds.Cue(kSfxDrop, RandomFloat(0.8f, 1.2f), 1, 0);
    }
}

// A score that drifts up and fades.
void UpdateFloatingScore(Pen& pen, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    r.angle += r.turn;
    pen.SetColor(255, 255, 0, r.alpha);
    pen.SetRotation(0);
    pen.SetScale(1);
    TextBuffer text(u" ");
    text.AppendInt(static_cast<int64_t>(r.extra));
    pen.QueueText(r.x, r.y, text.View(), 1, 1);
    r.alpha -= 0.01f;
    if (r.alpha < 0) r.state = 0;
}

// Damps one motion value, snapping small ones to rest.
float Damp(float value, float factor) {
    value *= factor;
    return std::abs(value) < 0.1f ? 0.0f : value;
}

// A spinning bit of spider that slows and fades.
void UpdateDebris(Pen& pen, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    r.angle += r.turn;
    r.turn = Damp(r.turn, 0.9f);
    r.velX = Damp(r.velX, 0.8f);
    r.velY = Damp(r.velY, 0.8f);
    pen.SetRotation(r.angle);
    pen.SetScale(1);
    pen.SetColor(255, 255, 255, r.alpha);
    pen.QueueImage(kImageSpiders, r.x, r.y, r.extra);
    r.alpha -= 0.003f;
    if (r.alpha < 0) r.state = 0;
}

// Every effect record moves, draws and fades.
void UpdateEffects(MatchState& m, Pen& pen) {
    for (Record& r : m.effectRecords) {
        if (r.Is(kFloatingScore)) {
            UpdateFloatingScore(pen, r);
        } else if (r.Is(kDebris)) {
            UpdateDebris(pen, r);
        }
    }
}

// A lying toothpick: drawn on a disc, picked up under a pressed pointer.
void UpdateLyingToothpick(MatchState& m, Frame& f, Record& r) {
    m.toothpickCount += 1;
    float x = r.x, y = r.y;
    f.pen.SetColor(100, 255, 180, 0.85f);
    f.pen.QueueEllipse(x, y, 10, 10);
    f.pen.SetColor(0, 0, 0, 0.5f);
    f.pen.QueueEllipse(x, y, 8, 8);
    f.pen.SetColor(255, 255, 255, 1);
    QueueToothpickLine(m, f.pen, r);
    bool under = std::abs(f.input.pointerX - x) < 16 && std::abs(f.input.pointerY - y) < 16;
    if (f.input.pointerDown > 0 && m.heldCharge == 0 && under && m.matchOver == 0) {
        m.heldCharge = static_cast<int>(r.state);
        r.state = 0;
        f.sounds.Cue(kSfxPickUp, RandomFloat(0.8f, 1.2f), 1, 0);
    }
}

// A flying toothpick kills every spider within 32 units, doubling its worth each time.
void HitSpiders(MatchState& m, Frame& f, Record& pick) {
    float x = pick.x, y = pick.y;
    for (Record& s : m.fieldRecords) {
        if (!s.Is(kSpider) || std::abs(s.x - x) >= 32 || std::abs(s.y - y) >= 32) continue;
        s.Set(kDyingSpider);
        s.velX = pick.velX;
        s.velY = pick.velY;
        pick.extra = std::min(pick.extra * 2, kMaxMultiplier);
        AddScore(m, KillPoints(pick.extra), static_cast<int>(x), static_cast<int>(y));
        SpawnDebris(m, s.x, s.y, pick.angle);
        f.sounds.Cue(kSfxSpiderHit, 0.8f + 0.4f * RandomFloat(), 1, 0);
    }
}

// A flying toothpick moves, leaves past the band and kills what it touches.
void UpdateFlyingToothpick(MatchState& m, Frame& f, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    f.pen.SetColor(255, 255, 255, 1);
    QueueToothpickLine(m, f.pen, r);
    if (OutsideBand(f.screen, r.x, r.y, 64)) r.state = 0;
    HitSpiders(m, f, r);
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
void UpdateSpider(MatchState& m, Frame& f, Record& r) {
    m.spiderCount += 1;
    r.extra = std::fmod(r.extra + 1, 25.0f);
    r.x += SinDegFactor(r.angle);
    r.y -= CosDegFactor(r.angle);
    f.pen.SetRotation(r.angle);
    f.pen.SetColor(255, 255, 255, 1);
    f.pen.SetScale(2);
    f.pen.QueueImage(kImageSpiders, r.x, r.y, std::floor(r.extra / 5));
    f.pen.SetScale(1);
    TurnAtEdges(f.screen, r);
    if (RandomInt(0, 16) == 1) r.angle += r.turn;
    float cx = f.screen.screenWidth / 2, cy = f.screen.screenHeight / 2;
    f.pen.SetColor(255, 255, 255, 0.25f);
    f.pen.QueueLine(cx, cy, r.x, r.y);
    f.pen.SetColor(255, 255, 255, 1);
    bool inCentre = std::abs(r.x - cx) < 32 && std::abs(r.y - cy) < 32;
    if (inCentre && m.hurtTimer == 0) {
        m.matchLength -= kPenaltyMs;
        m.hurtTimer = kHurtUpdates;
        f.sounds.Cue(kSfxSpiderInCentre, 1, 1, 0);
    }
}

// A dying spider is flung along the toothpick's path; leaving raises the cap.
void UpdateDyingSpider(MatchState& m, Frame& f, Record& r) {
    r.x += r.velX;
    r.y += r.velY;
    f.pen.SetRotation(r.angle);
    f.pen.SetColor(255, 255, 255, 1);
    f.pen.SetScale(2);
    f.pen.QueueImage(kImageSpiders, r.x, r.y, std::floor(r.extra / 5));
    f.pen.SetScale(1);
    if (OutsideBand(f.screen, r.x, r.y, 64)) {
        r.state = 0;
        m.spiderCap = std::min(m.spiderCap + 1, kMaxSpiderCap);
    }
}

// Every field record by its state.
void UpdateField(MatchState& m, Frame& f) {
    for (Record& r : m.fieldRecords) {
        if (IsLying(r)) {
            UpdateLyingToothpick(m, f, r);
        } else if (IsFlying(r)) {
            UpdateFlyingToothpick(m, f, r);
        } else if (r.Is(kSpider)) {
            UpdateSpider(m, f, r);
        } else if (r.Is(kDyingSpider)) {
            UpdateDyingSpider(m, f, r);
        }
    }
}

// Now and then a new toothpick appears away from the centre.
void MaybeSpawnToothpick(MatchState& m, const ScreenFit& screen) {
    if (m.toothpickCount >= kMaxToothpicks || RandomInt(0, 100) != 0) return;
    int k = FreeFieldSlot(m);
    float x = static_cast<float>(RandomInt(32, screen.screenWidth - 32));
    float y = static_cast<float>(RandomInt(32, screen.screenHeight - 32));
    bool outsideBox =
        std::abs(x - screen.screenWidth / 2) > 80 || std::abs(y - screen.screenHeight / 2) > 80;
    if (k >= 0 && outsideBox) PlaceToothpick(m, k, x, y, 1);
}

// Spiders arrive from beyond the edges while fewer than the cap live.
void MaybeSpawnSpider(MatchState& m, const ScreenFit& screen, bool paused) {
    bool wanted = (m.spiderCount < m.spiderCap && RandomInt(0, 128) < 26) || m.spiderCount < 2;
    if (!wanted || paused) return;
    int k = FreeFieldSlot(m);
    float x = static_cast<float>(RandomInt(-64, screen.screenWidth + 64));
    float y = static_cast<float>(RandomInt(-64, screen.screenHeight + 64));
    if (k < 0 || !OutsideBand(screen, x, y, 32)) return;
    Record& r = TakeRecord(m.fieldRecords, k);
    r.Set(kSpider);
    r.x = x;
    r.y = y;
    r.angle = static_cast<float>(RandomInt(0, 360));
    r.turn = static_cast<float>(RandomInt(1, 3));
    if (RandomInt(0, 1) == 1) r.turn = -r.turn;
    r.extra = static_cast<float>(RandomInt(0, 20));
}

// The shown score eases toward the real one and is drawn at the top.
void DrawScore(MatchState& m, Frame& f) {
    int d = m.shownScore - m.score;
    int step = -(d / 6);
    m.shownScore += step;
    if (std::abs(d + step) < 6) m.shownScore = m.score;
    f.pen.SetColor(100, 255, 100, 0.8f);
    f.pen.SetScale(2);
    TextBuffer text(u" ");
    text.Append(PadNumber(m.shownScore, 8, u"0").View());
    f.pen.QueueText(f.screen.screenWidth / 2, 16, text.View(), 1, 1);
}

// Whole seconds left; a quotient below zero ends the match. True when it ended now.
bool UpdateClock(MatchState& m, int nowMs) {
    bool ended = false;
    m.secondsLeft = (m.matchStart + m.matchLength - nowMs) / 1000;
    if (m.secondsLeft < 0) {
        ended = m.End();
        m.secondsLeft = 0;
    }
    m.secondsShown = m.secondsLeft;
    return ended;
}

// Ticks at 10, 5, 4, 3, 2, 1 and 0 seconds; the last one ends the match.
bool UpdateCountdown(MatchState& m, SoundCues& sounds) {
    if (m.secondsLeft > m.tickThreshold) return false;
    bool ended = false;
    sounds.Cue(kSfxTick, 1, 1, 0);
    if (m.tickThreshold == 0) {
        m.tickThreshold = kSilentThreshold;
        sounds.Cue(kSfxTimeUp, 1, 1, 0);
        ended = m.End();
    }
    switch (m.tickThreshold) {
        case 1:
            m.tickThreshold = 0;
            break;
        case 2:
            m.tickThreshold = 1;
            break;
        case 3:
            m.tickThreshold = 2;
            break;
        case 4:
            m.tickThreshold = 3;
            break;
        case 5:
            m.tickThreshold = 4;
            break;
        case 10:
            m.tickThreshold = 5;
            break;
        default:
            break;
    }
    return ended;
}

// The time left as mm:ss under the score.
void DrawClock(const MatchState& m, Frame& f) {
    TextBuffer text(u" ");
    text.Append(PadNumber(m.secondsLeft / 60, 2, u"0").View());
    text.Append(u':');
    text.Append(PadNumber(m.secondsLeft % 60, 2, u"0").View());
    f.pen.QueueText(f.screen.screenWidth / 2, 36, text.View(), 1, 1);
}

}  // namespace

void MatchState::Start(int chosenDifficulty, Frame& f) {
    difficulty = chosenDifficulty;
    tickThreshold = 10;
    SeedRandom(f.nowMs);
    score = 0;
    matchOver = 0;
    matchStart = f.nowMs;
    fieldRecords.fill(Record{});
    effectRecords.fill(Record{});

    // Up to five toothpicks, away from the centre and from the pointer.
    const ScreenFit& screen = f.screen;
    toothpickCount = 0;
    for (int attempt = 0; attempt < 21; attempt++) {
        if (toothpickCount >= kMaxToothpicks) continue;
        int k = FreeFieldSlot(*this);
        float x = static_cast<float>(RandomInt(32, screen.screenWidth - 32));
        float y = static_cast<float>(RandomInt(32, screen.screenHeight - 32));
        bool outsideBox =
            std::abs(x - screen.screenWidth / 2) > 80 || std::abs(y - screen.screenHeight / 2) > 80;
        bool awayFromPointer =
            std::abs(x - f.input.pointerX) > 64 || std::abs(y - f.input.pointerY) > 64;
        if (k < 0 || !outsideBox || !awayFromPointer) continue;
        PlaceToothpick(*this, k, x, y, 1);
        toothpickCount += 1;
    }

    spiderCap = difficulty == 3 ? 25 : difficulty == 2 ? 3 : 2;
    hurtTimer = 0;
    matchLength = kMatchMs;
    matchStart = f.nowMs;
}

MatchReport MatchState::Update(bool paused, Frame& f) {
    MatchReport report;
    f.pen.Begin(100, 100, 200, 1);
    float dx = f.screen.screenWidth / 2 - f.input.pointerX,
          dy = f.screen.screenHeight / 2 - f.input.pointerY;
    aimDistance = std::sqrt(dx * dx + dy * dy);
    aimAngle = std::atan2(-dx, dy) * kRadToDeg;
    DrawHandMarker(*this, f);
    DrawCentreRing(*this, f);
    DrawBands(*this, f);
    Release(*this, f);
    UpdateEffects(*this, f.pen);

    toothpickCount = heldCharge > 0 ? 1 : 0;
    spiderCount = 0;
    toothpickHalfLength = 12;
    f.pen.ResetState();
    if (!paused) {
        inFieldLoop = true;
        UpdateField(*this, f);
        inFieldLoop = effectPoolFull = false;
    }
    if (spiderCap > 3 && difficulty == 1) spiderCap = 3;

    f.pen.ResetState();
    MaybeSpawnToothpick(*this, f.screen);
    MaybeSpawnSpider(*this, f.screen, paused);
    DrawScore(*this, f);
    report.ended = UpdateClock(*this, f.nowMs);
    report.ended = UpdateCountdown(*this, f.sounds) || report.ended;
    DrawClock(*this, f);
    return report;
}

bool MatchState::End() {
    bool wasRunning = matchOver == 0;
    matchOver = 1;
    heldCharge = 0;
    return wasRunning;
}

bool MatchState::Quit() {
    bool ended = End();
    tickThreshold = kSilentThreshold;
    return ended;
}
