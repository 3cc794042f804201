#pragma once
// The road a picture takes without a display, with the windows' own code: the opened picture (as
// LoadPicture or decodePicture decodes it) converted to grey as the grey window converts it, reduced to
// half resolution as the half-resolution window reduces it, and exported as the export dialog's OK
// exports it. quillet-export, the fuzz target, the benchmarks and the tests travel it. Nothing on it
// cancels a run.

#include "ExportControls.h"
#include "ExportJob.h"
#include "convert/ConversionResult.h"
#include "convert/ConversionSteps.h"
#include "runtime/PictureSurface.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <optional>

class PictureRoad {
public:
    // `nameForMessages` names the picture in an error.
    PictureRoad(const QImage& opened, const QString& nameForMessages);

    // The opened picture's size in its units: the point-data file's header.
    const QSizeF& openedSize() const { return opened_; }

    // Converts the opened picture to grey in its own place: each grey pixel depends on its own colour
    // pixel alone, and a run that nothing cancels writes every pixel once, so no black of a fresh result
    // picture would remain. The grey window's pixels without a second picture's memory.
    void makeGrey(ConversionSteps& steps);
    void makeGrey();
    // Reduces the grey picture into a half-resolution window's picture: black, the grey picture's pixel
    // size, each unit of its scale spanning 2 x 2 pixels. Raises a runtime error naming the picture when
    // there is no memory for it.
    void makeHalf(ConversionSteps& steps);
    void makeHalf();

    // The grey picture (the opened one before makeGrey) or the half-resolution one (only after makeHalf).
    const PictureSurface& result(ConversionResult which) const;

    // Writes the result's selected points through the job, as the export dialog's OK does.
    ExportOutcome exportResult(ConversionResult which, ExportJob& job, ExportControls& controls,
                               PixelSides pixelMillimetres) const;

private:
    QString name_;
    QSizeF opened_;
    PictureSurface grey_;
    std::optional<PictureSurface> half_;
};
