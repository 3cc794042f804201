#pragma once
// The shared state through which the windows hand work to each other, alive for the whole run.

#include "runtime/Boolean.h"

#include <QString>

#include <array>
#include <cstdint>

struct Module2 {
    // The picture file last chosen in the open dialog; later the export file's path.
    static inline QString CurrentPath;
    // True asks the running conversion to stop at its next column.
    static inline Boolean CancelFlag = BooleanFalse;
    // What the progress dialog's tick runs: 1 grey conversion, 2 half-resolution reduction.
    static inline std::int16_t ConvertMode = 0;
    // 0 picture opened, 1 grey run done, 2 half-resolution run done; 3 to 6 are only cleared.
    static inline std::array<Boolean, 7> StageDone{};

    // Back to the start-up values (the program's start, and each test).
    static void reset() {
        CurrentPath.clear();
        CancelFlag = BooleanFalse;
        ConvertMode = 0;
        StageDone.fill(BooleanFalse);
    }
};
