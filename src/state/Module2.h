#pragma once
// The shared state through which the windows hand work to each other, alive for the whole run: the
// names the windows use, read and written through the one picture document that holds them.

#include "state/PictureDocument.h"

#include <QString>

#include <cstdint>

struct Module2 {
    // The process-wide document behind every name below.
    static PictureDocument& document();

    // The picture file last chosen in the open dialog; later the export file's path.
    static const QString& CurrentPath() { return document().currentPath(); }
    static void setCurrentPath(const QString& path) { document().setCurrentPath(path); }
    // True asks the running conversion to stop at its next column.
    static const Boolean& CancelFlag() { return document().cancelFlag(); }
    static void setCancelFlag(Boolean flag) { document().setCancelFlag(flag); }
    // What the progress dialog's tick runs: 1 grey conversion, 2 half-resolution reduction.
    static std::int16_t ConvertMode() { return document().convertMode(); }
    static void setConvertMode(std::int16_t mode) { document().setConvertMode(mode); }
    // 0 picture opened, 1 grey run finished, 2 half-resolution run finished; 3 to 6 are only cleared.
    static Boolean StageDone(int index) { return document().stageDone(index); }

    // Back to the start-up values (the program's start, and each test).
    static void reset() { document().reset(); }
};
