#pragma once
// The program's windows for one test: shared state reset, message boxes and End recorded, and a
// program folder of the test's own. Header only: it needs the windows, which not every test links.

#include "RecordingShell.h"
#include "app/Forms.h"
#include "app/Module2.h"

#include <QTemporaryDir>

struct TestProgram {
    TestProgram() {
        Module2::reset(); // no window exists yet to have read it
        shell.appPath = folder.path();
    }
    QString path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    RecordingShell shell;
    Forms forms{shell};
};
