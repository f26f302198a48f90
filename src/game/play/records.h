// The match's two fixed pools of ten-float records: the play field and its effects.
#pragma once

#include <array>
#include <cstddef>

// One record of a pool; free while its state is 0. Entry meanings depend on
// the state (see FieldState and EffectState).
struct Record {
    float state;
    float x, y;
    float velX, velY;
    float angle;  // heading or rotation in degrees
    float turn;   // a spider's turn step; an effect's spin per update
    float alpha;  // effects
    float extra;  // kill multiplier, walk counter, points shown or debris frame
    float unused;

    bool IsFree() const { return state == 0; }
    bool Is(int s) const { return state == static_cast<float>(s); }
    void Set(int s) { state = static_cast<float>(s); }
    bool operator==(const Record&) const = default;
};
static_assert(sizeof(Record) == 10 * sizeof(float));

// States of a field record. A lying toothpick's state is its charge (1..9), a
// flying one's its charge plus kFlyingOffset (11..19).
enum FieldState : int {
    kFieldFree = 0,
    kFlyingOffset = 10,
    kFlyingEnd = 20,
    kSpider = 21,
    kDyingSpider = 22,
};
constexpr bool IsLying(const Record& r) {
    return r.state > 0 && r.state < static_cast<float>(kFlyingOffset);
}
constexpr bool IsFlying(const Record& r) {
    return r.state > static_cast<float>(kFlyingOffset) && r.state < static_cast<float>(kFlyingEnd);
}

// States of an effect record.
enum EffectState : int {
    kEffectFree = 0,
    kFloatingScore = 1,
    kDebris = 10,
};

constexpr int kRecords = 201;
using RecordPool = std::array<Record, kRecords>;

// A free record is named by its start index in the pool's float layout (10·k),
// as the slot search reports it; -1 means none.
constexpr int RecordStart(int k) {
    return k * static_cast<int>(sizeof(Record) / sizeof(float));
}
constexpr int RecordIndex(int start) {
    return start / static_cast<int>(sizeof(Record) / sizeof(float));
}

// The start index of the highest free record, -1 when all are in use.
int HighestFree(const RecordPool& pool);
// The record at a start index, cleared for a new occupant.
Record& TakeRecord(RecordPool& pool, int start);
