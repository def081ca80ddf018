// The undo history of a map: 100 steps of packed cell records in slots 1..100.
#include "map/undobuffer.h"

#include <algorithm>

namespace quarvel {

void TUndoBuf::Reset() {
    Current = 0;
    RedoCount = 0;
    for (auto& slot : Slots) std::vector<UndoRecord>().swap(slot); // give the memory back
}

void TUndoBuf::BeginStep() {
    RedoCount = 0;
    if (Current == 0 || !Slots[Current].empty()) StepForward();
    Slots[Current].clear(); // keeps the capacity for the new step
}

UndoRecord TUndoBuf::Pop() {
    auto& slot = Slots[Current];
    UndoRecord r = slot.back();
    slot.pop_back();
    return r;
}

void TUndoBuf::StepBack() {
    if (Current > 0) --Current;
}

void TUndoBuf::StepForward() {
    ++Current;
    if (Current == SlotCount) {
        // Drop the oldest step: slots 2..100 move down to 1..99; slot 100 keeps a copy of
        // its list. The rotation hands slot 1's storage to slot 100, whose content is then
        // replaced by the copy, so no step's records are copied twice.
        std::rotate(&Slots[1], &Slots[2], &Slots[SlotCount]);
        Slots[SlotCount - 1] = Slots[SlotCount - 2];
        Current = SlotCount - 1;
    }
}

} // namespace quarvel
