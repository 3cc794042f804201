#include "Shell.h"

#include "RecordFile.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QDir>
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

QString dialogStartFolder(const QString& programFolder) {
    const QDir folder(programFolder);
    const QString installedSamples =
        QDir::cleanPath(folder.filePath(QStringLiteral("../share/quillet/samples")));
    if (folder.entryList({QStringLiteral("sample-*")}, QDir::Files).isEmpty() &&
        QDir(installedSamples).exists()) {
        return installedSamples;
    }
    return programFolder;
}

QString DesktopShell::AppPath() const {
    return dialogStartFolder(QCoreApplication::applicationDirPath());
}

QSize DesktopShell::screenTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen ? screen->size() : QSize(1024, 768);
    return pixels * TwipsPerPixel;
}
