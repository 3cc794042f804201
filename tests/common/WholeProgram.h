#pragma once
// The assembled program for one test: its main window shown and each progress dialog ticked as soon as
// it shows (at once instead of a second later). Header only: it needs the application, which only the
// tests of the assembled program link.

#include "TestProgram.h"
#include "app/MDIForm1.h"
#include "app/ProgramWindows.h"
#include "convert/Form5.h"
#include "open/OpenPictureFile.h"
#include "runtime/Timer.h"

#include <QTimer>

#include <functional>

struct WholeProgram : TestProgram {
    WholeProgram() {
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            if (Form5* dialog = forms.loadedForm5(); dialog && dialog->isVisible()) {
                const auto action = std::exchange(nextProgress, nullptr);
                action ? action(*dialog) : dialog->Timer1->tick();
            }
        });
        ticker.start(0);
        main.show();
    }
    // Opens the picture as the open dialog's OK does, as if read from a file of this name.
    void open(const QImage& picture, const QString& name = QStringLiteral("picture.png")) {
        Module2::setCurrentPath(path(name));
        pictureDecoded(shell, main, {picture});
    }
    // Opens the picture and converts it, to half resolution too when asked.
    void convert(const QImage& picture, bool half) {
        open(picture);
        main.xConvert_to_Black_Click();
        if (half) {
            main.xScale_Click();
        }
    }

    ProgramWindows forms{shell};
    MDIForm1& main = forms.mdiForm1();
    // Done to the next progress dialog once it shows, in place of its tick.
    std::function<void(Form5&)> nextProgress;
    QTimer ticker;
};
