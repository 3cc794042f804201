#pragma once
// The export dialog's sources as the program has them: the grey and half-resolution windows' pictures,
// the opened picture's size from the original-picture window.

#include "export/ExportSources.h"

class Forms;
class PictureWindowForm;

class ExportSourceWindows : public ExportSources {
public:
    explicit ExportSourceWindows(Forms& forms) : forms_(forms) {}

    const PictureSurface* existingSource(ConversionResult source) const override;
    bool halfPictureExists() const override;
    PictureSurface loadForExport(ConversionResult source) override;
    bool sourceFinished(ConversionResult source) const override;
    QSizeF openedPictureSize() override;
    std::optional<double> statedDotsPerInch() const override { return statedDotsPerInch_; }
    void exportWritten(std::int64_t points, const QString& file) override;
    void showSelection(ConversionResult source, const SumHighlight& marks) override;
    void clearSelection() override;

    // A picture was opened: the resolution its file stated, read as it was decoded.
    void pictureStates(std::optional<double> dotsPerInch) { statedDotsPerInch_ = dotsPerInch; }

private:
    PictureWindowForm& sourceWindow(ConversionResult source);

    Forms& forms_;
    std::optional<double> statedDotsPerInch_;
};
