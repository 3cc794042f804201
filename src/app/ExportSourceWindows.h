#pragma once
// The export dialog's sources as the program has them: the grey and half-resolution windows' pictures,
// the opened picture's size from the original-picture window.

#include "export/ExportSources.h"

class Forms;
class PictureWindowForm;

class ExportSourceWindows : public ExportSources {
public:
    explicit ExportSourceWindows(Forms& forms) : forms_(forms) {}

    const PictureSurface* existingSource(bool originalResolution) const override;
    bool halfPictureExists() const override;
    PictureSurface loadForExport(bool originalResolution) override;
    QSizeF openedPictureSize() override;

private:
    PictureWindowForm& sourceWindow(bool originalResolution);

    Forms& forms_;
};
