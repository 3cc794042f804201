#include "NewFolderPrompt.h"

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
        shell.MsgBox(QStringLiteral("无法新建文件夹“%1”：%2")
                         .arg(QDir::toNativeSeparators(folder.filePath(name)),
                              !plainName            ? QStringLiteral("名称无效")
                              : folder.exists(name) ? QStringLiteral("已有同名的文件或文件夹")
                                                    : QStringLiteral("文件夹不可写")),
                     ApplicationTitle);
        return std::nullopt;
    }
    return folder.filePath(name);
}
