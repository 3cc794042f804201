#pragma once
// Whole files read and written by tests.

#include <QByteArray>
#include <QString>

// The file's bytes, or "<missing>" when it cannot be read.
QByteArray contents(const QString& path);
// Fails the running test when the file cannot be written whole.
void writeFile(const QString& path, const QByteArray& bytes);
