#pragma once
// What the windows say in Chinese: Qt's own standard texts (确定, 取消) and the runtime's error texts,
// which stay English in the errors themselves for the command-line tool's terminal.

#include <QString>

class QCoreApplication;
class RuntimeError;

// Loads Qt's Chinese translation into the application; false when it is not installed.
bool loadChineseStandardTexts(QCoreApplication& application);

// The error's text in Chinese: its known phrases translated, paths and the system's own reasons kept.
QString chineseErrorText(const RuntimeError& error);

// The report of an error that escaped an event handler: its number and its Chinese text.
QString chineseErrorReport(const RuntimeError& error);
