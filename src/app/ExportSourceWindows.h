#pragma once
// The export dialog's sources as the program has them: the grey and half-resolution windows' pictures,
// the opened picture's size from the original-picture window.

#include "export/ExportSources.h"

class ProgramWindows;
class PictureWindowForm;

class ExportSourceWindows : public ExportSources {
public:
    explicit ExportSourceWindows(ProgramWindows& forms) : forms_(forms) {}

    PictureSurface loadForExport(ConversionResult source) override;
    QSizeF openedPictureSize() override;
    void showSelection(ConversionResult source, const SumHighlight& marks) override;
    void clearSelection() override;

private:
    PictureWindowForm& sourceWindow(ConversionResult source);

    ProgramWindows& forms_;
};
