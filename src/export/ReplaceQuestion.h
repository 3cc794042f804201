#pragma once
// Before the export dialog replaces a file it asks "文件已存在，是否替换？" (是/否) through the shell. The
// file its last export wrote since the program started (the same device and inode) is replaced without
// a word: writing it again is what the user just did. quillet-export asks nothing and replaces as cp does.

#include <QString>

class Shell;

inline const QString ReplaceQuestionText = QStringLiteral("文件已存在，是否替换？");

namespace ReplaceQuestion {

// Whether the export may write `path`: yes when no regular file is there or it is the one last written,
// else as the user answers.
bool allowsWriting(Shell& shell, const QString& path);
// Notes the file an export has just written at `path`, as it stands now.
void noteWritten(const QString& path);
// Forgets the file last written (each test starts as the program does).
void forgetWritten();

} // namespace ReplaceQuestion
