#pragma once
// What one run of quillet-export does: the picture, the point file and the export dialog's choices.
// The file names are the system's bytes, as the command was given them.

#include "export/ExportControls.h"

#include <QByteArray>

struct ExportSettings {
    QByteArray picture;
    QByteArray pointFile; // "-": standard output
    bool halfResolution = false;
    ExportPolarity polarity = ExportPolarity::Black;
    int threshold = 122;

    bool writesToStandardOutput() const { return pointFile == "-"; }
};
