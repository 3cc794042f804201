// Quillet: turns a raster picture into drawing data for CAD programs (a point-data file, DXF, SVG or CSV).

#include "app/MDIForm1.h"
#include "app/ProgramWindows.h"
#include "runtime/ChineseTexts.h"
#include "runtime/EndingSignals.h"
#include "runtime/MemoryReuse.h"
#include "runtime/Shell.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    // The ending signals reach the main thread only: the threads Qt starts while the application is
    // set up inherit them blocked, so one that arrives while a file is rewritten in place (the main
    // thread holds them then) waits until the copy is complete.
    EndingSignals::block();
    keepFreedMemoryForReuse();
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    loadChineseStandardTexts(application); // standard buttons read 确定 and 取消
    DesktopShell shell;
    ProgramWindows forms(shell);
    MDIForm1& main = forms.mdiForm1();
    main.show();
    // quillet PICTURE: opened once the window is up, as 确定 in the open dialog would.
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1) {
        QTimer::singleShot(0, &main, [&main, file = arguments.at(1)] { main.openPictureFile(file); });
    }
    EndingSignals::unblock();
    return QApplication::exec();
}
