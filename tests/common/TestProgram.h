#pragma once
// What every window test starts from: shared state reset, message boxes and End recorded, and a
// program folder of the test's own.

#include "RecordingShell.h"
#include "state/Module2.h"

#include <QTemporaryDir>

struct TestProgram {
    TestProgram() {
        Module2::reset(); // no window exists yet to have read it
        shell.appPath = folder.path();
    }
    QString path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    RecordingShell shell;
};
