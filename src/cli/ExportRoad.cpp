#include "ExportRoad.h"

#include "Interruption.h"
#include "QuietStandardError.h"
#include "TerminalProgress.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/PictureRoad.h"
#include "export/PixelSize.h"
#include "runtime/LoadPicture.h"
#include "runtime/Numbers.h"

#include <functional>
#include <unistd.h>
#include <utility>

namespace {

// As the open dialog decodes it; decoders' own complaints would add lines to the one error line.
DecodedPicture decodedPicture(PictureFile& file) {
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
        output.fail(Reason::WriteOverPicture, 0);
    }
}

// A stage of the road with its progress bar; nothing cancels it, an interruption ends it.
void runStage(const char* stage, bool showProgress, const std::function<void(ConversionSteps&)>& run) {
    TerminalProgress bar(stage, showProgress);
    const Boolean never = BooleanFalse;
    ConversionSteps steps{bar, never, &Interruption::check};
    run(steps);
    bar.finish();
}

} // namespace

ExportRoad::ExportRoad(bool showProgress, std::function<void(const Failure&)> tell)
    : showProgress_(showProgress), tell_(std::move(tell)) {}

ExportOutcome ExportRoad::run(const ExportSettings& settings) const {
    PictureFile pictureFile(settings.picture);
    // A signal that came before a FIFO's open would not end its wait.
    Interruption::check();
    StagedOutput output = pointFileOutput(settings);
    refuseToReplaceThePicture(output, pictureFile);
    ExportJob job(std::move(output), settings.outputFormat(), settings.shapeChoice());
    DecodedPicture decoded = decodedPicture(pictureFile);
    const PixelSides pixelMillimetres =
        ::pixelMillimetres({settings.pixelMillimetres, settings.dotsPerInch, decoded.statedDotsPerInch});
    const bool sizeGiven = settings.pixelMillimetres || settings.dotsPerInch;
    if (!sizeGiven && formatEntry(settings.outputFormat()).drawing &&
        statedResolutionRefused(decoded.statedDotsPerInch)) {
        tell_(Failure{.reason = Reason::StatedResolutionIgnored,
                      .name = pictureFile.name(),
                      .detail = dotsPerInchText(*decoded.statedDotsPerInch)});
    }
    // The grey picture takes the decoded one's place: no copy may keep its pixels meanwhile.
    PictureRoad road(std::exchange(decoded.picture, {}), pictureFile.name());
    runStage("grey", showProgress_, [&](ConversionSteps& steps) { road.makeGrey(steps); });
    if (settings.halfResolution) {
        runStage("half", showProgress_, [&](ConversionSteps& steps) { road.makeHalf(steps); });
    }

    const ConversionResult source = settings.halfResolution ? ConversionResult::Half : ConversionResult::Grey;
    TerminalProgress bar("export", showProgress_);
    // The selection yields once before each of its columns: the columns before this one are done.
    const std::int64_t columns = std::int64_t{toInteger32(road.result(source).ScaleWidth())} * job.passes();
    std::int64_t started = 0;
    FixedExportControls controls(settings.polarity, settings.threshold, [&] {
        Interruption::check();
        if (columns > 0) {
            bar.show(static_cast<double>(started) / columns);
        }
        ++started;
    });
    const ExportOutcome outcome = road.exportResult(source, job, controls, pixelMillimetres);
    bar.finish();
    return outcome;
}
