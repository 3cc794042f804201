#pragma once
// The program's road for one picture, without windows and with the windows' own code: decoded as the
// open dialog decodes it, converted to grey, reduced to half resolution if asked, exported as the
// export dialog's OK exports it.

#include "ExportSettings.h"
#include "export/ExportJob.h"

#include <QtGlobal>

class ExportRoad {
public:
    // With `showProgress`, each stage draws a progress bar on standard error.
    explicit ExportRoad(bool showProgress);

    // Writes the file and tells what the export wrote. Raises a runtime error naming the file and the
    // reason when the picture cannot be read or the file cannot be written; an existing file is then
    // left as it was.
    ExportOutcome run(const ExportSettings& settings) const;

private:
    bool showProgress_;
};
