#pragma once
// The one table of what a failure says: its runtime error number and its sentence in English (the
// command's terminal) and in Chinese (the windows), with the failure's values put in and the system's
// own reason (strerror) shown as the system gives it.

#include "Failure.h"

#include <QString>

enum class Language { English, Chinese };

// The failure and its notes in one line.
QString failureText(const Failure& failure, Language language);
inline QString englishText(const Failure& failure) {
    return failureText(failure, Language::English);
}
inline QString chineseText(const Failure& failure) {
    return failureText(failure, Language::Chinese);
}

// The runtime error number the failure is raised with; 0 for a refusal that is no runtime error.
int runtimeErrorNumber(const Failure& failure);

// The windows' report of a runtime error that escaped an event handler: its number and its text.
QString chineseErrorReport(const Failure& failure);
