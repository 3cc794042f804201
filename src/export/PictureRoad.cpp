#include "PictureRoad.h"

#include "convert/GreyConversion.h"
#include "convert/HalfReduction.h"
#include "convert/SilentProgress.h"
#include "runtime/HalfResolutionScale.h"
#include "runtime/RuntimeError.h"

namespace {

// Steps that show nothing and never yield.
template <typename Run> void runSilently(Run run) {
    SilentProgress progress;
    const Boolean never = BooleanFalse;
    ConversionSteps steps{progress, never, [] {}};
    run(steps);
}

// A half-resolution window's picture for a grey one; null when there is no memory for it.
PictureSurface halfResolutionPicture(const PictureSurface& grey) {
    PictureSurface half(RGB(0, 0, 0), grey.pixelWidth(), grey.pixelHeight());
    setHalfResolutionScale(half, grey);
    return half;
}

} // namespace

PictureRoad::PictureRoad(const QImage& opened, const QString& nameForMessages) : name_(nameForMessages) {
    grey_.assign(opened);
    opened_ = QSizeF(grey_.ScaleWidth(), grey_.ScaleHeight());
}

void PictureRoad::makeGrey(ConversionSteps& steps) {
    convertToGrey(grey_, grey_, steps);
}

void PictureRoad::makeGrey() {
    runSilently([this](ConversionSteps& steps) { makeGrey(steps); });
}

void PictureRoad::makeHalf(ConversionSteps& steps) {
    PictureSurface half = halfResolutionPicture(grey_);
    if (half.image().isNull() && !grey_.image().isNull()) {
        throw RuntimeError(Failure{.reason = Reason::ConversionNeedsMemory, .name = name_});
    }
    // The grey picture has the opened picture's size, against which the progress is measured.
    reduceToHalf(grey_, grey_, half, steps);
    half_ = std::move(half);
}

void PictureRoad::makeHalf() {
    runSilently([this](ConversionSteps& steps) { makeHalf(steps); });
}

const PictureSurface& PictureRoad::result(ConversionResult which) const {
    return which == ConversionResult::Half ? half_.value() : grey_;
}

ExportOutcome PictureRoad::exportResult(ConversionResult which, ExportJob& job, ExportControls& controls,
                                        PixelSides pixelMillimetres) const {
    return job.run(result(which), opened_, controls, pixelMillimetres);
}
