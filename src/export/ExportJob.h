#pragma once
// One export, as the dialog, the command, the fuzz target and the benchmarks run it: the destination
// is opened first (a refused one is reported before any work), then the selected points of the source
// picture go through the format's sink into it, and the file takes its place only when complete. A
// drawing of outlines, and a speck filter, first gather the selection's shapes.

#include "ExportControls.h"
#include "OutputFormat.h"
#include "PixelSize.h"
#include "ShapeChoice.h"
#include "runtime/OutputFile.h"
#include "runtime/PictureSurface.h"

#include <QSizeF>
#include <QString>

#include <cstdint>
#include <optional>

struct ExportOutcome {
    std::int64_t points = 0;              // as written, never read back from the file
    std::int64_t shapes = 0;              // filled shapes, for formats that draw them
    std::optional<std::int64_t> outlines; // for a drawing of outlines, whose shapes are the 8-connected ones
    QSizeF drawingMillimetres;
};

class ExportJob {
public:
    // Opens the destination; raises a runtime error naming it and the reason when it cannot.
    // The shape choice applies as far as the format allows: its kind to the drawings, its minimum area
    // to the formats that filter specks.
    ExportJob(const QString& destination, OutputFormat format, ShapeChoice shapes = {});
    // The same for a destination named by the system's bytes (or a stream) and opened already.
    ExportJob(StagedOutput destination, OutputFormat format, ShapeChoice shapes = {});

    // Passes of the point selection over the picture, each yielding once per column: 2 where a speck
    // filter needs the shapes' sizes before a sink gets the points, else 1.
    int passes() const { return filtersSpecksAhead() ? 2 : 1; }

    // Writes the points of `source` (the picture as it is when the export begins) and puts the file in
    // its place. `openedPicture` is the opened picture's size in its units (the point-data file's
    // header); a pixel of the opened picture has the sides `pixelMillimetres` in a drawing.
    ExportOutcome run(const PictureSurface& source, const QSizeF& openedPicture, ExportControls& controls,
                      PixelSides pixelMillimetres = 25.4 / 96.0);

    const QString& destination() const { return file_.path(); }
    const StagedOutput& output() const { return file_.output(); }

    // The size of the drawing the drawing formats make of `source` (the exported picture), whose pixel is
    // `pixelMillimetres`: its real units' grid times a unit's sides, one or two pixels.
    static QSizeF drawingMillimetres(const PictureSurface& source, PixelSides pixelMillimetres);
    // The bytes an export of `source` in `format` writes when it selects `extent`: exact for the
    // point-data file, 24 · (points + 1); an estimate for the others, see their sinks' fileBytes.
    static std::int64_t fileBytes(const PictureSurface& source, OutputFormat format,
                                  const SelectionExtent& extent, PixelSides pixelMillimetres = 25.4 / 96.0);

private:
    bool drawsOutlines() const {
        return format_.drawing && (shapes_.kind == ShapeKind::Outlines || shapes_.kind == ShapeKind::Smooth);
    }
    bool filtersSpecksAhead() const {
        return !drawsOutlines() && format_.filtersSpecks && shapes_.minimumArea > 1;
    }

    const FormatEntry& format_;
    ShapeChoice shapes_;
    OutputFile file_;
};
