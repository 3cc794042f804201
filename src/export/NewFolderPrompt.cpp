#include "NewFolderPrompt.h"

#include "runtime/FailureTexts.h"
#include "runtime/Shell.h"

#include <QDir>

namespace {

const QString NewFolderName = QStringLiteral("新建文件夹");

QString freeFolderName(const QDir& folder) {
    QString name = NewFolderName;
    for (int number = 2; folder.exists(name); ++number) {
        name = NewFolderName + QString::number(number);
    }
    return name;
}

} // namespace

std::optional<QString> promptForNewFolder(Shell& shell, const QString& shown) {
    const QDir folder(shown);
    const std::optional<QString> typed =
        shell.InputBox(QStringLiteral("新文件夹的名称："), freeFolderName(folder));
    if (!typed) {
        return std::nullopt;
    }
    const QString name = typed->trimmed();
    const bool plainName = !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
                           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
    if (!plainName || folder.exists(name) || !folder.mkdir(name)) {
        const Reason reason = !plainName            ? Reason::NewFolderNameInvalid
                              : folder.exists(name) ? Reason::NewFolderNameTaken
                                                    : Reason::NewFolderNotWritable;
        shell.MsgBox(
            chineseText(Failure{.reason = reason, .name = QDir::toNativeSeparators(folder.filePath(name))}),
            ApplicationTitle);
        return std::nullopt;
    }
    return folder.filePath(name);
}
