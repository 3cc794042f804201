#include "Shell.h"

#include "ChineseTexts.h"
#include "OutputFile.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

void Shell::reportError(const RuntimeError& error) {
    MsgBox(chineseErrorReport(error));
}

void DesktopShell::MsgBox(const QString& text, const QString& title) {
    const QString caption = title.isEmpty() ? ApplicationTitle : title;
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    // A short text makes a box too narrow for its title beside the title bar's icon and buttons.
    auto* const grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid) {
        grid->addItem(new QSpacerItem(minimumMessageBoxWidth(caption, box.fontMetrics()), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

bool DesktopShell::YesNoBox(const QString& question, const QString& title) {
    QMessageBox box(QMessageBox::Question, title.isEmpty() ? ApplicationTitle : title, question,
                    QMessageBox::NoButton, QApplication::activeWindow());
    const QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    box.setDefaultButton(no); // Enter, like Esc, keeps things as they are
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> DesktopShell::InputBox(const QString& prompt, const QString& defaultText) {
    bool accepted = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), ApplicationTitle, prompt,
                                               QLineEdit::Normal, defaultText, &accepted);
    return accepted ? std::optional<QString>(text) : std::nullopt;
}

int minimumMessageBoxWidth(const QString& title, const QFontMetrics& metrics) {
    constexpr int titleBarControls = 160; // icon and three buttons, with room to spare
    return metrics.horizontalAdvance(title) * 3 / 2 + titleBarControls;
}

void DesktopShell::End() {
    OutputFile::abandonAllOpen();
    std::fflush(nullptr);
    std::_Exit(0);
}

namespace {

const QString FolderKey = QStringLiteral("dialogs/folder");

bool isFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString dialogStartFolder(const QString& programFolder, const QString& remembered) {
    if (isFolder(remembered)) {
        return remembered;
    }
    const QDir folder(programFolder);
    if (!folder.entryList({QStringLiteral("sample-*")}, QDir::Files).isEmpty()) {
        return programFolder;
    }
    const QString installedSamples =
        QDir::cleanPath(folder.filePath(QStringLiteral("../share/quillet/samples")));
    if (isFolder(installedSamples)) {
        return installedSamples;
    }
    // Not the program's folder: installed, it is a system folder where nobody keeps pictures.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return isFolder(pictures) ? pictures : QDir::homePath();
}

QString DesktopShell::dialogFolder() const {
    return dialogStartFolder(QCoreApplication::applicationDirPath(),
                             QSettings(ApplicationTitle, ApplicationTitle).value(FolderKey).toString());
}

void DesktopShell::folderUsed(const QString& folder) {
    QSettings(ApplicationTitle, ApplicationTitle).setValue(FolderKey, folder);
}

QSize DesktopShell::screenTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen ? screen->size() : QSize(1024, 768);
    return pixels * TwipsPerPixel;
}
