#include "Shell.h"

#include "RecordFile.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

void Shell::reportError(const RuntimeError& error) {
    MsgBox(QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.text()));
}

void DesktopShell::MsgBox(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? ApplicationTitle : title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void DesktopShell::End() {
    RecordFile::abandonAllOpen();
    std::fflush(nullptr);
    std::_Exit(0);
}

QString DesktopShell::AppPath() const {
    return QCoreApplication::applicationDirPath();
}

QSize DesktopShell::screenTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen ? screen->size() : QSize(1024, 768);
    return pixels * TwipsPerPixel;
}
