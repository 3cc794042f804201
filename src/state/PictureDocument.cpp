#include "PictureDocument.h"

void PictureDocument::open(const QString& path, const QImage& picture,
                           std::optional<DotsPerInch> statedDotsPerInch) {
    stageDone_.fill(BooleanFalse);
    results_ = {};
    lastExport_.reset();
    picture_ = picture;
    picturePath_ = path;
    statedDotsPerInch_ = statedDotsPerInch;
    stageDone_[0] = BooleanTrue;
    emit opened();
}

void PictureDocument::setCurrentPath(const QString& path) {
    if (path != currentPath_) {
        currentPath_ = path;
        emit currentPathChanged();
    }
}

void PictureDocument::setCancelFlag(Boolean flag) {
    if (flag != cancelFlag_) {
        cancelFlag_ = flag;
        emit cancelFlagChanged();
    }
}

void PictureDocument::setConvertMode(std::int16_t mode) {
    if (mode != convertMode_) {
        convertMode_ = mode;
        emit convertModeChanged();
    }
}

void PictureDocument::startRun(ConversionResult result) {
    stageDone_[stage(result)] = BooleanFalse;
    results_[index(result)] = {std::nullopt, Run::Running};
    emit resultChanged(result);
}

void PictureDocument::endRun(ConversionResult result, const PictureSurface& made, bool finished) {
    stageDone_[stage(result)] = toBoolean(finished);
    results_[index(result)] = {made, finished ? Run::Finished : Run::Cancelled};
    emit resultChanged(result);
}

void PictureDocument::discard(ConversionResult result) {
    Result& discarded = results_[index(result)];
    if (discarded.picture) {
        discarded.picture.reset();
        emit resultChanged(result);
    }
}

const PictureSurface* PictureDocument::result(ConversionResult result) const {
    const std::optional<PictureSurface>& picture = results_[index(result)].picture;
    return picture ? &*picture : nullptr;
}

bool PictureDocument::finished(ConversionResult result) const {
    const Result& made = results_[index(result)];
    return made.picture && made.run == Run::Finished;
}

void PictureDocument::exportWritten(std::int64_t points, const QString& file) {
    lastExport_ = Export{points, file};
    emit exported();
}

void PictureDocument::reset() {
    picture_ = QImage();
    picturePath_.clear();
    statedDotsPerInch_.reset();
    currentPath_.clear();
    cancelFlag_ = BooleanFalse;
    convertMode_ = 0;
    stageDone_.fill(BooleanFalse);
    results_ = {};
    lastExport_.reset();
}
