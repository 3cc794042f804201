#pragma once
// Pictures of grey levels and their exports in every format, with the progress shown, for the export tests.

#include "TestFiles.h"
#include "TestPictures.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/PictureRoad.h"

#include <QTemporaryDir>
#include <QVector>

#include <functional>

// Grey levels by column, then row: levels[x][y].
using GreyLevels = QVector<QVector<int>>;

// The levels grey(x, y) of a picture of `width` x `height` pixels.
inline GreyLevels greyLevels(int width, int height, const std::function<int(int, int)>& grey) {
    GreyLevels levels(width, QVector<int>(height));
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            levels[x][y] = grey(x, y);
        }
    }
    return levels;
}

inline PictureSurface greyPicture(const GreyLevels& levels) {
    return surfaceOf(static_cast<int>(levels.size()),
                     levels.isEmpty() ? 0 : static_cast<int>(levels[0].size()),
                     [&levels](int x, int y) { return RGB(levels[x][y], levels[x][y], levels[x][y]); });
}

// The half-resolution picture the picture road makes of a grey picture.
inline PictureSurface halfOf(const PictureSurface& grey) {
    PictureRoad road(grey.image(), QStringLiteral("test picture"));
    road.makeHalf();
    return road.result(ConversionResult::Half);
}

struct FormatExport {
    QByteArray bytes;
    ExportOutcome outcome;
    QList<double> percents;
};

inline FormatExport exportFormat(const PictureSurface& source, OutputFormat format, bool white, int threshold,
                                 PixelSides pixelMillimetres = 0.1, ShapeChoice shapes = {}) {
    // Fixed controls that keep the progress shown.
    struct Controls : FixedExportControls {
        using FixedExportControls::FixedExportControls;
        void showProgress(double percent) override { percents << percent; }
        QList<double> percents;
    } controls(white ? ExportPolarity::White : ExportPolarity::Black, threshold);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out") + formatEntry(format).suffix);
    const QSizeF opened(source.pixelWidth(), source.pixelHeight());
    const ExportOutcome outcome =
        ExportJob(path, format, shapes).run(source, opened, controls, pixelMillimetres);
    return {contents(path), outcome, controls.percents};
}

// The worked example: (1,1) = 40, (2,1) = 121, (1,2) = 130, (2,2) = 200, column 0 and row 0 black.
inline GreyLevels workedLevels() {
    return {{0, 0, 0}, {0, 40, 130}, {0, 121, 200}};
}
