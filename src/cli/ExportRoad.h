#pragma once
// One run of quillet-export: the picture file and the point file the command names, taken along the
// picture road (decoded as the open dialog decodes it, grey, half resolution if asked, exported), each
// stage with its progress bar and ended by an interruption.

#include "ExportSettings.h"
#include "export/ExportJob.h"

#include "runtime/Failure.h"

#include <QtGlobal>

#include <functional>

class ExportRoad {
public:
    // With `showProgress`, each stage draws a progress bar on standard error; `tell` takes the notes
    // of a run that goes on (a stated resolution that counts as none).
    ExportRoad(bool showProgress, std::function<void(const Failure&)> tell);

    // Writes the file and tells what the export wrote. Raises a runtime error naming the file and the
    // reason when the picture cannot be read or the file cannot be written; an existing file is then
    // left as it was.
    ExportOutcome run(const ExportSettings& settings) const;

private:
    bool showProgress_;
    std::function<void(const Failure&)> tell_;
};
