// Times the grey conversion driven through the real windows and progress dialog (offscreen
// platform, timer delay excluded) on a 6000 x 4000 picture, against a plain row-major read-and-write
// pass over the same pixels in the same process, and prints the medians.

#include "BenchSupport.h"
#include "QuietShell.h"
#include "app/MDIForm1.h"
#include "app/ProgramWindows.h"
#include "convert/Form5.h"
#include "convert/GreyConversion.h"
#include "convert/SilentProgress.h"
#include "runtime/MemoryReuse.h"
#include "state/Module2.h"
#include "view/Form1.h"
#include "view/Form2.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;
constexpr int Rounds = 5;

QImage variedPicture() {
    QImage image(Width, Height, QImage::Format_RGB32);
    fillVariedPixels(image);
    return image;
}

// One grey conversion through the menu item; the time runs from the tick to the end of the run.
double dialogRunMilliseconds(ProgramWindows& forms) {
    double milliseconds = 0;
    QTimer::singleShot(0, &forms.mdiForm1(), [&forms, &milliseconds] {
        Form5* dialog = forms.loadedForm5();
        const auto start = std::chrono::steady_clock::now();
        dialog->Timer1->tick();
        milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    });
    forms.mdiForm1().xConvert_to_Black_Click();
    forms.form2().Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return milliseconds;
}

// The longest time between two yields of a grey conversion of a 100-megapixel picture: how long a
// cancel click can wait before it is handled.
double longestYieldGapMilliseconds() {
    constexpr int side = 10000;
    PictureSurface source(RGB(120, 40, 200), side, side);
    PictureSurface target(0, side, side);
    SilentProgress display;
    Boolean cancelFlag = BooleanFalse;
    auto last = std::chrono::steady_clock::now();
    double longest = 0;
    ConversionSteps steps{display, cancelFlag, [&] {
                              const auto now = std::chrono::steady_clock::now();
                              longest = std::max(
                                  longest, std::chrono::duration<double, std::milli>(now - last).count());
                              last = now;
                          }};
    convertToGrey(source, target, steps);
    return longest;
}

} // namespace

int main(int argc, char* argv[]) {
    keepFreedMemoryForReuse(); // as the programs do
    preferOffscreen();
    QApplication application(argc, argv);
    QuietShell shell(QSize(1280, 800));
    ProgramWindows forms(shell);
    forms.mdiForm1().show();
    const QImage picture = variedPicture();
    forms.form1().Picture2->setPicture(picture);
    FitPictureInViewport(forms.form1());

    QImage plainTarget(Width, Height, QImage::Format_RGB32);
    plainTarget.fill(0);
    std::vector<double> plain;
    std::vector<double> dialog;
    for (int round = 0; round < Rounds; ++round) {
        plain.push_back(millisecondsOf([&] { plainPass(picture, plainTarget); }));
        dialog.push_back(dialogRunMilliseconds(forms));
    }
    const double plainMedian = median(plain);
    const double dialogMedian = median(dialog);
    std::printf("picture %d x %d, median of %d rounds\n", Width, Height, Rounds);
    std::printf("plain row-major pass        %8.1f ms\n", plainMedian);
    std::printf("grey conversion via dialog  %8.1f ms  ratio %.2f (target <= 5)\n", dialogMedian,
                dialogMedian / plainMedian);
    std::printf("longest gap between yields, 10000 x 10000 grey conversion: %.1f ms (target <= 100)\n",
                longestYieldGapMilliseconds());
    return 0;
}
