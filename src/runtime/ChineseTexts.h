#pragma once
// What the windows say in Chinese: Qt's own standard texts (确定, 取消) and the runtime's errors.

#include <QString>

class QCoreApplication;
class RuntimeError;

// Loads Qt's Chinese translation into the application; false when it is not installed.
bool loadChineseStandardTexts(QCoreApplication& application);

// The error's text in Chinese, with the system's own reason as the system gives it.
QString chineseErrorText(const RuntimeError& error);

// The report of an error that escaped an event handler: its number and its Chinese text.
QString chineseErrorReport(const RuntimeError& error);
