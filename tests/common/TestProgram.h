#pragma once
// What every window test starts from: shared state reset, message boxes and End recorded, and a
// program folder of the test's own.

#include "RecordingShell.h"
#include "state/Module2.h"

#include <QTemporaryDir>

#include <array>

struct TestProgram {
    TestProgram() {
        Module2::reset(); // no window exists yet to have read it
        shell.startFolder = folder.path();
    }
    QString path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    RecordingShell shell;
};

using StageFlags = std::array<Boolean, 7>;

// The document's seven stage flags as they stand.
inline StageFlags stageFlags() {
    StageFlags flags{};
    for (int index = 0; index < 7; ++index) {
        flags[static_cast<std::size_t>(index)] = Module2::StageDone(index);
    }
    return flags;
}

// A picture opened into the document, and its grey and half-resolution runs finished where asked.
inline void reachStages(bool grey, bool half) {
    PictureDocument& document = Module2::document();
    document.open(QStringLiteral("picture.png"), QImage(2, 2, QImage::Format_RGB32), std::nullopt);
    if (grey) {
        document.endRun(ConversionResult::Grey, PictureSurface(), true);
    }
    if (half) {
        document.endRun(ConversionResult::Half, PictureSurface(), true);
    }
}
