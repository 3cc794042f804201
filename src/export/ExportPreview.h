#pragma once
// The export dialog's preview of the export its choices make: the line stating the points, a drawing's
// shapes and the file's size, the drawing's size, the source's histogram over the ramp, the marks on the
// source window, and Otsu's threshold for 自动. The line and the marks are what OK writes; while the thumb is
// dragged they may leave the minimum area to its release, and a drawing's shapes unstated. It follows the
// picture document: a source picture that appears, goes or changes is counted and shown afresh, with the
// dialog's choices as they are then.

#include "export/ExportSources.h"
#include "export/OutputFormat.h"
#include "export/PixelSize.h"
#include "export/PreviewCounts.h"
#include "export/ShapeChoice.h"
#include "export/WrittenCounts.h"

#include <QObject>

#include <functional>
#include <optional>

class PictureDocument;
class QLabel;
class ThresholdHistogram;

class ExportPreview : public QObject {
    Q_OBJECT
public:
    // The dialog's choices the preview shows: the threshold is the one under the bar's thumb; the pixel's
    // sides are empty while the typed resolution is out of range.
    struct Choices {
        ConversionResult source;
        ExportPolarity polarity;
        int threshold;
        OutputFormat format;
        std::optional<PixelSides> pixelMillimetres;
        ShapeChoice shapes;
        bool thumbDragged = false;
    };
    // Where the preview shows itself.
    struct Display {
        QLabel& countLine;
        QLabel& drawingSize;
        ThresholdHistogram& histogram;
    };

    ExportPreview(const PictureDocument& document, ExportSources& sources, const Display& display,
                  std::function<Choices()> choices, QObject* parent);

    // Shows the preview of the dialog's current choices.
    void show();
    // Otsu's threshold over the chosen source's real pixels; none without a finished source picture or
    // for a single grey.
    std::optional<int> automaticThreshold();
    // The dialog is gone: no window keeps its marks.
    void clear();

private:
    // The drawing's size once the source picture exists, for a drawing format at a typed resolution.
    void showDrawingSize(const Choices& chosen);
    // The count line and the marks for a finished source picture.
    void showCounts(const PictureSurface& source, const Choices& chosen);
    // What OK writes with these choices: counted anew only when a choice or the picture changed.
    const WrittenCounts& written(const PictureSurface& source, const Choices& chosen,
                                 PixelSides pixelMillimetres);

    const PictureDocument& document_;
    ExportSources& sources_;
    Display display_;
    std::function<Choices()> choices_;
    PreviewCounts counts_;
    struct Written {
        const PictureSurface* surface = nullptr;
        qint64 pixelsKey = 0;
        OutputFormat format;
        ShapeChoice shapes;
        ExportPolarity polarity;
        int threshold;
        PixelSides pixelMillimetres;
        WrittenCounts counts;
    };
    std::optional<Written> written_;
};

// What the count line says while the chosen source picture is missing.
inline const QString NotConvertedText = QStringLiteral("尚未转换");
