#include "ChineseTexts.h"

#include "FailureTexts.h"
#include "RuntimeError.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool loadChineseStandardTexts(QCoreApplication& application) {
    auto* const translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString chineseErrorText(const RuntimeError& error) {
    return chineseText(error.failure());
}

QString chineseErrorReport(const RuntimeError& error) {
    return chineseErrorReport(error.failure());
}
