#include "ExportRoad.h"

#include "Interruption.h"
#include "QuietStandardError.h"
#include "TerminalProgress.h"
#include "convert/GreyConversion.h"
#include "convert/HalfReduction.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/PixelSize.h"
#include "runtime/HalfResolutionScale.h"
#include "runtime/LoadPicture.h"
#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

#include <functional>
#include <optional>
#include <unistd.h>

namespace {

// A result window's picture: black, the opened picture's pixel size.
PictureSurface resultSurface(const PictureSurface& original, const QString& pictureName) {
    PictureSurface surface(RGB(0, 0, 0), original.pixelWidth(), original.pixelHeight());
    if (surface.image().isNull()) {
        throw RuntimeError(
            ErrorNumber::OutOfMemory,
            QStringLiteral("Cannot convert the picture \"%1\": not enough memory").arg(pictureName));
    }
    return surface;
}

// As the open dialog decodes it; decoders' own complaints would add lines to the one error line.
QImage decodedPicture(PictureFile& file) {
    const QuietStandardError quiet;
    return file.decode();
}

StagedOutput pointFileOutput(const ExportSettings& settings) {
    if (settings.writesToStandardOutput()) {
        return StagedOutput::stream(STDOUT_FILENO, QStringLiteral("standard output"));
    }
    return StagedOutput(settings.pointFile);
}

// Writing the point file over the picture would destroy the picture: a mistyped command, not a wish.
// The same file by any name (links, bind mounts, a file system that ignores case) has the same inode.
void refuseToReplaceThePicture(StagedOutput& output, const PictureFile& picture) {
    if (output.isFile(picture.device(), picture.inode())) {
        output.fail(0, QStringLiteral("it is the picture being read"));
    }
}

// The pixel runs as the progress dialog runs them; nothing cancels them, an interruption ends them.
void runStage(const char* stage, bool showProgress, const std::function<void(ConversionSteps&)>& run) {
    TerminalProgress bar(stage, showProgress);
    Boolean cancelFlag = BooleanFalse;
    ConversionSteps steps{bar, cancelFlag, &Interruption::check, [] {}};
    run(steps);
    bar.finish();
}

} // namespace

ExportRoad::ExportRoad(bool showProgress) : showProgress_(showProgress) {}

ExportOutcome ExportRoad::run(const ExportSettings& settings) const {
    PictureFile pictureFile(settings.picture);
    // A signal that came before a FIFO's open would not end its wait.
    Interruption::check();
    StagedOutput output = pointFileOutput(settings);
    refuseToReplaceThePicture(output, pictureFile);
    ExportJob job(std::move(output), settings.outputFormat(), settings.shapeChoice());
    const double pixelMillimetres = ::pixelMillimetres(
        {settings.pixelMillimetres, settings.dotsPerInch, pictureFile.statedDotsPerInch()});
    PictureSurface picture;
    picture.assign(decodedPicture(pictureFile));
    const QSizeF opened(picture.ScaleWidth(), picture.ScaleHeight());

    // The grey picture takes the opened picture's place instead of a fresh black surface beside it:
    // each grey pixel depends on its own colour pixel alone, and a run that is never cancelled writes
    // every pixel once, so no black would have remained. The same pixels without a second picture's
    // memory; the opened picture's size, all that is read of it later, stays.
    runStage("grey", showProgress_, [&](ConversionSteps& steps) { convertToGrey(picture, picture, steps); });
    const PictureSurface& grey = picture;

    std::optional<PictureSurface> half;
    if (settings.halfResolution) {
        // As the half-resolution window sets it up: each unit spans 2 x 2 pixels.
        half = resultSurface(grey, pictureFile.name());
        setHalfResolutionScale(*half, grey);
        runStage("half", showProgress_,
                 [&](ConversionSteps& steps) { reduceToHalf(grey, grey, *half, steps); });
    }

    const PictureSurface& source = half ? *half : grey;
    TerminalProgress bar("export", showProgress_);
    // The selection yields once before each of its columns: the columns before this one are done.
    const std::int64_t columns = std::int64_t{toInteger32(source.ScaleWidth())} * job.passes();
    std::int64_t started = 0;
    FixedExportControls controls(settings.polarity, settings.threshold, [&] {
        Interruption::check();
        if (columns > 0) {
            bar.show(static_cast<double>(started) / columns);
        }
        ++started;
    });
    const ExportOutcome outcome = job.run(source, opened, controls, pixelMillimetres);
    bar.finish();
    return outcome;
}
