#include "game/play/records.h"

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
