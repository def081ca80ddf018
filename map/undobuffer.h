// The undo history of a map: up to 100 steps of packed cell records.
#pragma once

#include <cstdint>
#include <vector>

namespace quarvel {

using UndoRecord = uint32_t;

constexpr UndoRecord PackUndoRecord(int x, int y, int z, uint8_t chip) {
    return (uint32_t(uint8_t(x))) | (uint32_t(uint8_t(y)) << 8) | (uint32_t(uint8_t(z)) << 16) |
           (uint32_t(chip) << 24);
}

class TUndoBuf {
public:
    static constexpr int SlotCount = 101; // slot 0 is the floor, steps live in 1..100

    std::vector<UndoRecord> Slots[SlotCount];
    int32_t Current = 0;
    int32_t RedoCount = 0;

    void Reset();
    void BeginStep();
    void Push(UndoRecord record) { Slots[Current].push_back(record); }
    UndoRecord Pop();
    int Count() const { return int(Slots[Current].size()); }
    void StepBack();
    void StepForward();
};

} // namespace quarvel
