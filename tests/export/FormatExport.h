#pragma once
// Exports of small pictures of grey levels in the drawing formats, for the format tests.

#include "TestFiles.h"
#include "TestPictures.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"

#include <QTemporaryDir>
#include <QVector>

// Grey levels by column, then row: levels[x][y].
using GreyLevels = QVector<QVector<int>>;

inline PictureSurface greyPicture(const GreyLevels& levels) {
    return surfaceOf(static_cast<int>(levels.size()),
                     levels.isEmpty() ? 0 : static_cast<int>(levels[0].size()),
                     [&levels](int x, int y) { return RGB(levels[x][y], levels[x][y], levels[x][y]); });
}

// The half-resolution picture of `levels`: its user scale is half the pixels.
inline PictureSurface halfPicture(const GreyLevels& levels) {
    PictureSurface surface = greyPicture(levels);
    surface.setScaleWidth(surface.pixelWidth() / 2.0f);
    surface.setScaleHeight(surface.pixelHeight() / 2.0f);
    return surface;
}

struct FormatExport {
    QByteArray bytes;
    ExportOutcome outcome;
};

inline FormatExport exportFormat(const PictureSurface& source, OutputFormat format, bool white, int threshold,
                                 double pixelMillimetres, const QString& path) {
    FixedExportControls controls(white ? ExportPolarity::White : ExportPolarity::Black, threshold);
    const QSizeF opened(source.pixelWidth(), source.pixelHeight());
    FormatExport result;
    result.outcome = ExportJob(path, format).run(source, opened, controls, pixelMillimetres);
    result.bytes = contents(path);
    return result;
}

inline FormatExport exportFormat(const PictureSurface& source, OutputFormat format, bool white, int threshold,
                                 double pixelMillimetres = 0.1) {
    QTemporaryDir dir;
    return exportFormat(source, format, white, threshold, pixelMillimetres,
                        dir.filePath(QStringLiteral("out") + formatEntry(format).suffix));
}

// The worked example: (1,1) = 40, (2,1) = 121, (1,2) = 130, (2,2) = 200, column 0 and row 0 black.
inline GreyLevels workedLevels() {
    return {{0, 0, 0}, {0, 40, 130}, {0, 121, 200}};
}
