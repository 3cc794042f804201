#pragma once
// What the export dialog needs from the program around it: the pictures it can export and the opened
// picture's size. A query that changes nothing, kept apart from the load that may open windows.

#include "convert/ConversionResult.h"
#include "runtime/PictureSurface.h"
#include "runtime/SumHighlight.h"

#include <QSizeF>

#include <cstdint>
#include <optional>

class ExportSources {
public:
    virtual ~ExportSources() = default;
    // Side-effect free (a preview may call it on every threshold change): the surface of the source picture
    // if that picture's window is loaded now, else null; never opens a window or runs a conversion.
    virtual const PictureSurface* existingSource(ConversionResult source) const = 0;
    // Whether the half-resolution picture exists (its stage is done).
    virtual bool halfPictureExists() const = 0;
    // The picture to export: reading a closed result window opens it, with its own opening behaviour
    // (its conversion; the grey picture first when there is none). Returns a copy (pixels shared).
    virtual PictureSurface loadForExport(ConversionResult source) = 0;
    // Whether the source picture is a finished result (its conversion was not cancelled).
    virtual bool sourceFinished(ConversionResult source) const = 0;
    // The opened picture's size in its scale units (ScaleWidth, ScaleHeight of Form1's Picture2; a closed
    // Form1 is loaded again showing the opened picture), for the point-data file's header.
    virtual QSizeF openedPictureSize() = 0;
    // The resolution the opened picture's file states, in dots per inch, if it states one.
    virtual std::optional<double> statedDotsPerInch() const = 0;
    // The preview while the dialog is open: the source's window marks these pixels on screen (its stored
    // picture unchanged), the other source window none. Loads no window.
    virtual void showSelection(ConversionResult /*source*/, const SumHighlight& /*marks*/) {}
    // No source window marks anything (the dialog has closed, or there is nothing to show).
    virtual void clearSelection() {}
    // An export wrote this many points to the file.
    virtual void exportWritten(std::int64_t /*points*/, const QString& /*file*/) {}
};
