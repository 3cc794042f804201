// Times the repaint of a picture window's 1600 x 1000 viewport showing a 6000 x 4000 picture at
// several zoom levels (offscreen platform), and prints the first paint after a zoom change (which
// makes the reduced copy below 100 %) and the median of the repaints that follow, each after a scroll
// step. Above 100 % every repaint enlarges the exposed part afresh.

#include "BenchSupport.h"
#include "QuietShell.h"
#include "view/Form1.h"

#include <QApplication>

#include <cstdio>
#include <vector>

namespace {

constexpr int Repaints = 41;

} // namespace

int main(int argc, char* argv[]) {
    preferOffscreen();
    QApplication application(argc, argv);
    QuietShell shell;
    Form1 form(shell, nullptr);
    QImage picture(6000, 4000, QImage::Format_RGB32);
    fillVariedPixels(picture);
    form.Picture2->setPicture(picture);
    form.resize(PictureWindowSize);
    form.show();
    QApplication::processEvents();
    std::printf("6000 x 4000 picture, %d x %d viewport, median of %d repaints\n",
                qRound(form.Picture1->Width()), qRound(form.Picture1->Height()), Repaints);
    const auto measure = [&](const char* name, auto zoom) {
        const double first = millisecondsOf([&] {
            zoom();
            form.Picture1->repaint();
        });
        std::vector<double> times;
        for (int round = 0; round < Repaints; ++round) {
            const double step = round % 2 == 0 ? 48.0 : -48.0;
            form.scrollByPixels(step, step);
            times.push_back(millisecondsOf([&] { form.Picture1->repaint(); }));
        }
        std::printf("%-8s zoom %6.2f %%: first paint %7.1f ms, repaint median %6.2f ms\n", name,
                    form.zoom() * 100, first, median(times));
    };
    measure("100 %", [&] { form.zoomToActualSize(); });
    measure("71 %", [&] { form.zoomOut(form.viewportCentre()); });
    measure("50 %", [&] { form.zoomOut(form.viewportCentre()); });
    measure("35 %", [&] { form.zoomOut(form.viewportCentre()); });
    measure("fit", [&] { form.zoomToFit(); });
    measure("200 %", [&] {
        form.zoomToActualSize();
        form.zoomIn(form.viewportCentre());
    });
    measure("400 %", [&] {
        form.zoomIn(form.viewportCentre());
        form.zoomIn(form.viewportCentre());
    });
    measure("800 %", [&] {
        form.zoomIn(form.viewportCentre());
        form.zoomIn(form.viewportCentre());
    });
    return 0;
}
