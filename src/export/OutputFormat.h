#pragma once
// The file formats an export writes, one sink each: a table of what the dialog, the command and the
// job need to know of a format (its name, suffix, numbering and sink), so that adding a format is one
// sink file and one row.

#include "OutlineWriter.h"
#include "PixelSize.h"
#include "PointRecord.h"
#include "PointSelection.h"
#include "PointSink.h"
#include "TracedShape.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

class OutputFile;

enum class OutputFormat { Records, Dxf, Svg, Csv };

// What a sink is told besides its points.
struct SinkSetup {
    PointRecord header;         // the opened picture's {width, height, 0}
    QSize grid;                 // columns and rows of units of the exported picture
    PixelSides unitMillimetres; // sides of one unit in the drawing
    int unitPixels = 1;         // pixels of the exported picture along one side of a unit
};

// What an export selects, as far as the size of its file depends on it.
struct SelectionExtent {
    std::int64_t points = 0;
    std::int64_t shapes = 0;     // the drawing formats' rectangles, at most the points
    std::int64_t greyDigits = 0; // decimal digits of the points' grey levels, all together
};

struct FormatEntry {
    OutputFormat format;
    const char* name;     // as the command's --format takes it
    const char* suffix;   // the file name's ending, with its dot
    const char* fileType; // the export dialog's file-type choice, UTF-8
    bool drawing;         // drawn as filled shapes on a drawing of a size in mm, reported as such
    bool filtersSpecks;   // may leave out the shapes below a minimum area
    PointNumbering numbering;
    int recordLength; // the point-data file's record, or 1 for a stream of bytes
    std::unique_ptr<PointSink> (*makeSink)(OutputFile& file, const SinkSetup& setup);
    // The bytes of the file: exact for the point-data file, an estimate for the text formats.
    std::int64_t (*fileBytes)(const SinkSetup& setup, const SelectionExtent& extent);
    // Writes the whole drawing of the shapes as outlines; returns what it holds. Drawings only.
    OutlineTotals (*writeOutlines)(OutputFile& file, const SinkSetup& setup, const ShapeSource& shapes);
    // The same with smooth outlines (OutlineSmoother.h).
    OutlineTotals (*writeSmooth)(OutputFile& file, const SinkSetup& setup, const ShapeSource& shapes);
};

std::span<const FormatEntry> outputFormats();
const FormatEntry& formatEntry(OutputFormat format);
std::optional<OutputFormat> formatNamed(const QString& name);
// The format a file name's ending asks for (any case); the point-data file for any other ending.
OutputFormat formatForFileName(const QString& fileName);
