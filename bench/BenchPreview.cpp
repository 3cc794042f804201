// Times the export dialog's preview on a 6000 x 4000 grey picture shown in a 1600 x 1000 viewport
// (offscreen platform): the counts made at the dialog's opening, then from a threshold change to the
// updated count line and the repainted, marked viewport over a sweep of all 256 values at 100 % and at
// the fitting zoom, and the longest event-loop stall while the thumb is dragged across the whole bar; then,
// with the minimum area at 5 pixels, from the thumb's release to the exact count line and the repainted
// marks without the shapes left out, per drawing and format that leaves them out.

#include "BenchSupport.h"
#include "QuietShell.h"
#include "export/Form6.h"
#include "runtime/ScrollBar.h"
#include "state/Module2.h"
#include "view/Form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// The grey window as the program hands it to the dialog: a picture window whose picture box shows the marks.
class WindowSource : public ExportSources {
public:
    explicit WindowSource(PictureBox& box) : box_(box) {}
    PictureSurface loadForExport(ConversionResult) override { return box_.surface(); }
    QSizeF openedPictureSize() override { return {6000, 4000}; }
    void showSelection(ConversionResult, const SumHighlight& marks) override { box_.setHighlight(marks); }
    void clearSelection() override { box_.setHighlight(std::nullopt); }

private:
    PictureBox& box_;
};

QImage greyPicture() {
    QImage picture(6000, 4000, QImage::Format_RGB32);
    fillVariedPixels(picture);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            // A smooth grey field with the varied pixels' noise, as a photo's grey picture has.
            const int level =
                std::clamp((x * 255 / 6000 + y * 255 / 4000) / 2 + int(row[x] & 31) - 16, 0, 255);
            row[x] = qRgb(level, level, level);
        }
    }
    return picture;
}

// Counts the paints a widget receives, to show that every change repainted the picture.
class PaintCount : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    preferOffscreen();
    QApplication application(argc, argv);
    QuietShell shell;
    Form1 window(shell, nullptr);
    window.Picture2->setPicture(greyPicture());
    window.resize(PictureWindowSize);
    window.show();
    WindowSource source(*window.Picture2);
    PaintCount pictureCount;
    window.Picture2->installEventFilter(&pictureCount);
    // The document holds the grey picture the window shows, as a finished conversion leaves it.
    PictureDocument& document = Module2::document();
    document.open(QStringLiteral("photo.png"), window.Picture2->surface().image(), std::nullopt);
    document.endRun(ConversionResult::Grey, window.Picture2->surface(), true);
    Form6 dialog(shell, source, document, nullptr);
    const double opening = millisecondsOf([&] {
        dialog.Form_Load();
        dialog.Form_Initialize();
    });
    dialog.show();
    QApplication::processEvents();
    std::printf("6000 x 4000 grey picture, %d x %d viewport\n", qRound(window.Picture1->Width()),
                qRound(window.Picture1->Height()));
    std::printf(
        "dialog opening, its folder list and both counts: %.1f ms (the counts alone: bench_selection_count, "
        "target <= 30)\n",
        opening);

    const auto sweep = [&](const char* name) {
        std::vector<double> times;
        const int paintsBefore = pictureCount.paints;
        for (int threshold = 0; threshold <= 255; ++threshold) {
            times.push_back(millisecondsOf([&] {
                dialog.HScroll1->setBarValue(threshold);
                dialog.PointCount->repaint();
                window.Picture1->repaint();
            }));
        }
        std::printf("%-5s zoom %6.2f %%: threshold change to count and repainted marks: median %.2f ms "
                    "(target <= 16), worst %.2f ms (target <= 33); %d changes, %d paints of the picture\n",
                    name, window.zoom() * 100, median(times), *std::max_element(times.begin(), times.end()),
                    int(times.size()), pictureCount.paints - paintsBefore);
    };
    window.zoomToActualSize();
    window.Picture1->repaint();
    sweep("100 %");
    window.zoomToFit();
    window.Picture1->repaint();
    sweep("fit");
    window.zoomToActualSize();

    // The scroll bar moves its thumb this way on every mouse move of a drag.
    double longest = 0;
    dialog.HScroll1->setSliderDown(true);
    for (int position = 0; position <= 255; ++position) {
        longest = std::max(longest, millisecondsOf([&] {
                               dialog.HScroll1->setSliderPosition(position);
                               QApplication::processEvents();
                           }));
    }
    dialog.HScroll1->setSliderDown(false);
    std::printf("thumb dragged across the bar at 100 %%: longest event-loop stall %.2f ms (target <= 50)\n",
                longest);

    // The thumb dragged to a threshold and let go there, over the middle of the bar where the picture's
    // noise makes small shapes.
    dialog.MinimumArea->setValue(5);
    const auto releases = [&](const char* name, int fileType, int shapes) {
        dialog.FileType->setCurrentIndex(fileType);
        dialog.Shapes->setCurrentIndex(shapes);
        std::vector<double> times;
        std::vector<double>
            processorTimes; // this process's own, which other work on the machine leaves alone
        bool exact = true;
        for (int threshold = 64; threshold <= 192; threshold += 8) {
            dialog.HScroll1->setSliderDown(true);
            dialog.HScroll1->setSliderPosition(threshold);
            QApplication::processEvents();
            exact = exact && dialog.PointCount->text().endsWith(QStringLiteral("（松开后去除小斑点）"));
            const std::clock_t processorStart = std::clock();
            times.push_back(millisecondsOf([&] {
                dialog.HScroll1->setSliderDown(false);
                dialog.PointCount->repaint();
                window.Picture1->repaint();
            }));
            processorTimes.push_back(1000.0 * static_cast<double>(std::clock() - processorStart) /
                                     CLOCKS_PER_SEC);
            exact = exact && !dialog.PointCount->text().endsWith(QStringLiteral("（松开后去除小斑点）"));
        }
        std::printf("%-13s zoom %6.2f %%: release to exact count and marks: median %.1f ms (target <= 200; "
                    "processor %.1f ms), worst %.1f ms over %d releases%s\n",
                    name, window.zoom() * 100, median(times), median(processorTimes),
                    *std::max_element(times.begin(), times.end()), int(times.size()),
                    exact ? "" : " (NOT EXACT)");
        std::printf("  last line: %s\n", qPrintable(dialog.PointCount->text()));
    };
    std::printf("minimum area 5 pixels:\n");
    for (const bool fitted : {false, true}) {
        fitted ? window.zoomToFit() : window.zoomToActualSize();
        window.Picture1->repaint();
        releases("DXF outlines", 1, 0);
        releases("DXF squares", 1, 1);
        releases("SVG outlines", 2, 0);
        releases("CSV", 3, 0);
    }
    return 0;
}
