#pragma once
// 新建文件夹 in the export dialog: asks for a name (新建文件夹, or with the first number that is free) and
// creates that folder in the one shown. A failure (a name that is no folder name, one taken, a folder
// that cannot be written) is reported and changes nothing.

#include <QString>

#include <optional>

class Shell;

// The folder made, or none (cancelled or failed).
std::optional<QString> promptForNewFolder(Shell& shell, const QString& folder);
