// Quillet: turns a raster picture into a file of point data for a CAD program.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "runtime/ChineseTexts.h"
#include "runtime/MemoryReuse.h"
#include "runtime/Shell.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    keepFreedMemoryForReuse();
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    loadChineseStandardTexts(application); // standard buttons read 确定 and 取消
    DesktopShell shell;
    Forms forms(shell);
    forms.mdiForm1().show();
    return QApplication::exec();
}
