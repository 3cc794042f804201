#pragma once
// What the user works on: the opened picture, the grey and half-resolution pictures made from it with
// their stage flags and how each run ended, the export settings the windows hand each other, and the
// last export of this picture. Plain data without widgets; every change emits one signal, which the
// windows and dialogs follow instead of asking again.

#include "convert/ConversionResult.h"
#include "runtime/Boolean.h"
#include "runtime/DotsPerInch.h"
#include "runtime/PictureSurface.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class PictureDocument : public QObject {
    Q_OBJECT
public:
    // How the last run of a result ended; Running from the progress dialog's showing to the run's end.
    enum class Run { None, Running, Finished, Cancelled };

    struct Export {
        std::int64_t points = 0;
        QString file;
    };

    // A new picture from `path`: the earlier picture's results, stage flags and export go with it, and
    // stage 0 is done.
    void open(const QString& path, const QImage& picture, std::optional<DotsPerInch> statedDotsPerInch);
    bool isOpen() const { return stageDone_[0] == BooleanTrue; }
    const QImage& picture() const { return picture_; }
    const QString& picturePath() const { return picturePath_; }
    // The resolution the opened picture's file states, if it states one.
    std::optional<DotsPerInch> statedDotsPerInch() const { return statedDotsPerInch_; }

    // The picture file last chosen in the open dialog; later the export file's path.
    const QString& currentPath() const { return currentPath_; }
    void setCurrentPath(const QString& path);
    // True asks the running conversion to stop at its next column; read there through this reference.
    const Boolean& cancelFlag() const { return cancelFlag_; }
    void setCancelFlag(Boolean flag);
    // What the progress dialog's tick runs: 1 grey conversion, 2 half-resolution reduction.
    std::int16_t convertMode() const { return convertMode_; }
    void setConvertMode(std::int16_t mode);
    // 0 picture opened, 1 grey run finished, 2 half-resolution run finished; 3 to 6 are only cleared.
    Boolean stageDone(int index) const { return stageDone_.at(static_cast<std::size_t>(index)); }

    // A run of the result starts: its earlier picture and stage flag are gone until it ends.
    void startRun(ConversionResult result);
    // The run ended with this picture: finished, its stage is done; cancelled, the partial picture is
    // kept but is no result and its stage stays undone.
    void endRun(ConversionResult result, const PictureSurface& made, bool finished);
    // The result's window was closed and its picture with it; the stage flag stays as it is.
    void discard(ConversionResult result);
    // The result's picture as its run left it, or null without one (none yet, running, discarded).
    const PictureSurface* result(ConversionResult result) const;
    Run run(ConversionResult result) const { return results_[index(result)].run; }
    // Whether the result's picture is there and its run finished.
    bool finished(ConversionResult result) const;

    // An export of this picture wrote `points` points to `file`.
    void exportWritten(std::int64_t points, const QString& file);
    const std::optional<Export>& lastExport() const { return lastExport_; }

    // Back to the start-up values (the program's start, and each test).
    void reset();

signals:
    void opened();
    void resultChanged(ConversionResult result);
    void exported();
    void currentPathChanged();
    void cancelFlagChanged();
    void convertModeChanged();

private:
    struct Result {
        std::optional<PictureSurface> picture;
        Run run = Run::None;
    };
    static std::size_t index(ConversionResult result) { return result == ConversionResult::Grey ? 0 : 1; }
    static std::size_t stage(ConversionResult result) { return result == ConversionResult::Grey ? 1 : 2; }

    QImage picture_;
    QString picturePath_;
    std::optional<DotsPerInch> statedDotsPerInch_;
    QString currentPath_;
    Boolean cancelFlag_ = BooleanFalse;
    std::int16_t convertMode_ = 0;
    std::array<Boolean, 7> stageDone_{};
    std::array<Result, 2> results_;
    std::optional<Export> lastExport_;
};
