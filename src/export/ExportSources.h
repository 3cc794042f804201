#pragma once
// What the export dialog needs from the program around it besides the picture document: the load of a
// source picture that may open its window, the opened picture's size, and the marks on the source window.

#include "convert/ConversionResult.h"
#include "runtime/PictureSurface.h"
#include "runtime/SumHighlight.h"

#include <QSizeF>

class ExportSources {
public:
    virtual ~ExportSources() = default;
    // The picture to export: reading a closed result window opens it, with its own opening behaviour
    // (its conversion; the grey picture first when there is none). Returns a copy (pixels shared).
    virtual PictureSurface loadForExport(ConversionResult source) = 0;
    // The opened picture's size in its scale units (ScaleWidth, ScaleHeight of Form1's Picture2; a closed
    // Form1 is loaded again showing the opened picture), for the point-data file's header.
    virtual QSizeF openedPictureSize() = 0;
    // The preview while the dialog is open: the source's window marks these pixels on screen (its stored
    // picture unchanged), the other source window none. Loads no window.
    virtual void showSelection(ConversionResult /*source*/, const SumHighlight& /*marks*/) {}
    // No source window marks anything (the dialog has closed, or there is nothing to show).
    virtual void clearSelection() {}
};
