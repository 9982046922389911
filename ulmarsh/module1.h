// State shared by the bench's forms. Booleans are 16-bit, true = -1.
#pragma once

#include <cstdint>

namespace ulmarsh {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
constexpr int kOptionStateCount = 16;

struct Module1 {
    int16_t OptionStates[kOptionStateCount] = {};
    int16_t CancelRequested = kFalse;
    int16_t StopRenaming = kFalse;
    int16_t RenameDone = kFalse;
    int16_t RenameInProgress = kFalse;
    // Not part of the original module: set while an Action write is in
    // progress so that a second run cannot start nested inside the first.
    int16_t RunInProgress = kFalse;
};

// The one instance, alive for the whole process.
Module1& SharedState();

// Item i's tick changed: its entry flips between 0 and 1.
void ToggleOptionState(Module1& m, int index);

}  // namespace ulmarsh
