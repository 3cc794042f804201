// Quillet: turns a raster picture into a file of point data for a CAD program.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "runtime/ChineseTexts.h"
#include "runtime/MemoryReuse.h"
#include "runtime/Shell.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    keepFreedMemoryForReuse();
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    loadChineseStandardTexts(application); // standard buttons read 确定 and 取消
    DesktopShell shell;
    Forms forms(shell);
    MDIForm1& main = forms.mdiForm1();
    main.show();
    // quillet PICTURE: opened once the window is up, as 确定 in the open dialog would.
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1) {
        QTimer::singleShot(0, &main, [&main, file = arguments.at(1)] { main.openPictureFile(file); });
    }
    return QApplication::exec();
}
