#pragma once
// Acting on the progress dialog as soon as it shows; tests deliver its tick at once instead of a
// second later. Header only: it needs the windows, which not every test links.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "convert/Form5.h"
#include "runtime/Timer.h"

#include <QTimer>

#include <functional>

inline void whenProgressShows(Forms& forms, std::function<void(Form5&)> action) {
    // the main window as context: nothing is left pending once the test's windows are gone
    QTimer::singleShot(0, &forms.mdiForm1(), [&forms, action] {
        if (Form5* dialog = forms.loadedForm5(); dialog && dialog->isVisible()) {
            action(*dialog);
        } else {
            whenProgressShows(forms, action);
        }
    });
}

inline void tickWhenProgressShows(Forms& forms) {
    whenProgressShows(forms, [](Form5& dialog) { dialog.Timer1->tick(); });
}
