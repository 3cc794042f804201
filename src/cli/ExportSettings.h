#pragma once
// What one run of quillet-export does: the picture, the point file and the export dialog's choices.
// The file names are the system's bytes, as the command was given them.

#include "export/ExportControls.h"
#include "export/OutputFormat.h"
#include "export/ShapeChoice.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

struct ExportSettings {
    QByteArray picture;
    QByteArray pointFile; // "-": standard output
    bool halfResolution = false;
    ExportPolarity polarity = ExportPolarity::Black;
    int threshold = 122;
    std::optional<OutputFormat> format; // else the point file's ending decides
    std::optional<ShapeKind> shapes;    // for a drawing; else DefaultShapeKind
    std::optional<std::int64_t> minimumArea;
    std::optional<double> pixelMillimetres;
    std::optional<double> dotsPerInch;

    bool writesToStandardOutput() const { return pointFile == "-"; }
    OutputFormat outputFormat() const {
        return format ? *format : formatForFileName(QString::fromLocal8Bit(pointFile));
    }
    ShapeChoice shapeChoice() const { return {shapes.value_or(DefaultShapeKind), minimumArea.value_or(0)}; }
};
