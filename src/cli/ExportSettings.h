#pragma once
// What one run of quillet-export does: the picture, the point file and the export dialog's choices.

#include "export/ExportControls.h"

#include <QString>

struct ExportSettings {
    QString picture;
    QString pointFile;
    bool halfResolution = false;
    ExportPolarity polarity = ExportPolarity::Black;
    int threshold = 122;
};
