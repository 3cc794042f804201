#include "ChineseTexts.h"

#include "RuntimeError.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace {

struct Phrase {
    QRegularExpression english;
    QString chinese; // \1, \2 stand for the English text's captures
};

// Whole texts: a subject and, after a colon, its reason (translated in turn).
const QList<Phrase>& subjects() {
    static const QList<Phrase> table{
        {QRegularExpression(R"re(^Cannot write the file "(.*)": (.*)$)re"),
         QStringLiteral("无法写入文件“\\1”：\\2")},
        {QRegularExpression(R"re(^Cannot write a file: no file name was given$)re"),
         QStringLiteral("无法写入文件：没有给出文件名")},
        {QRegularExpression(R"re(^Cannot open the picture "(.*)": (.*)$)re"),
         QStringLiteral("无法打开图片“\\1”：\\2")},
        {QRegularExpression(R"re(^Cannot open the folder "(.*)": (.*)$)re"),
         QStringLiteral("无法打开文件夹“\\1”：\\2")},
        {QRegularExpression(R"re(^Device unavailable: "(.*)"$)re"), QStringLiteral("设备不可用：“\\1”")},
        {QRegularExpression(R"re(^Overflow$)re"), QStringLiteral("溢出")},
        {QRegularExpression(R"re(^Division by zero$)re"), QStringLiteral("除数为零")},
        {QRegularExpression(R"re(^Invalid property value$)re"), QStringLiteral("无效的属性值")},
        {QRegularExpression(R"re(^Out of memory$)re"), QStringLiteral("内存不足")},
    };
    return table;
}

// Reasons, whole or before a parenthesis holding details (often the system's own words, kept as they are).
const QHash<QString, QString>& reasons() {
    static const QHash<QString, QString> table{
        {QStringLiteral("it is a folder"), QStringLiteral("它是一个文件夹")},
        {QStringLiteral("the folder does not exist"), QStringLiteral("文件夹不存在")},
        {QStringLiteral("the file is read-only"), QStringLiteral("文件是只读的")},
        {QStringLiteral("the folder is read-only"), QStringLiteral("文件夹是只读的")},
        {QStringLiteral("another file took its name while the export ran"),
         QStringLiteral("导出期间另一个文件占用了它的名字")},
        {QStringLiteral("the file is closed"), QStringLiteral("文件已关闭")},
        {QStringLiteral("the file does not exist"), QStringLiteral("文件不存在")},
        {QStringLiteral("the file is empty"), QStringLiteral("文件是空的")},
        {QStringLiteral("the file cannot be read"), QStringLiteral("无法读取文件")},
        {QStringLiteral("the file cannot be opened"), QStringLiteral("无法打开文件")},
        {QStringLiteral("not a picture in a known format (jpg, gif, bmp, png or ico)"),
         QStringLiteral("不是已知格式的图片（jpg、gif、bmp、png 或 ico）")},
        {QStringLiteral("the picture cannot be decoded"), QStringLiteral("无法解码图片")},
        {QStringLiteral("the picture data ends early (the file is cut short)"),
         QStringLiteral("图片数据提前结束（文件不完整）")},
        {QStringLiteral("it is not a regular file (a FIFO, socket or device)"),
         QStringLiteral("它不是普通文件（管道、套接字或设备）")},
        {QStringLiteral("not enough memory for the picture"), QStringLiteral("内存不足，无法载入图片")},
        {QStringLiteral("it does not exist"), QStringLiteral("它不存在")},
        {QStringLiteral("it is not a folder"), QStringLiteral("它不是文件夹")},
        {QStringLiteral("access is denied"), QStringLiteral("拒绝访问")},
    };
    return table;
}

QString translatedReason(const QString& reason) {
    if (const auto found = reasons().constFind(reason); found != reasons().constEnd()) {
        return *found;
    }
    static const QList<Phrase> patterns{
        {QRegularExpression(
             R"re(^the picture is too large \((\d+) x (\d+) pixels; at most (\d+) pixels\)$)re"),
         QStringLiteral("图片太大（\\1 x \\2 像素；最多 \\3 像素）")},
        {QRegularExpression(
             QStringLiteral(R"re(^not enough memory to decode a (\d+) \x{00D7} (\d+) picture$)re")),
         QStringLiteral("内存不足，无法解码 \\1 × \\2 的图片")},
        {QRegularExpression(
             R"re(^the picture is too wide for Qt's picture reader \((\d+) pixels in a line; at most (\d+)\)$)re"),
         QStringLiteral("图片太宽，Qt 的图片读取器无法读取（一行 \\1 像素；最多 \\2 像素）")},
    };
    for (const Phrase& phrase : patterns) {
        if (const QRegularExpressionMatch match = phrase.english.match(reason); match.hasMatch()) {
            QString result = phrase.chinese;
            for (int index = match.lastCapturedIndex(); index >= 1; --index) {
                result.replace(QStringLiteral("\\%1").arg(index), match.captured(index));
            }
            return result;
        }
    }
    static const QRegularExpression detailed(R"re(^(.*?) \((.*)\)$)re");
    if (const QRegularExpressionMatch match = detailed.match(reason);
        match.hasMatch() && reasons().contains(match.captured(1))) {
        return reasons().value(match.captured(1)) + QStringLiteral("（") + match.captured(2) +
               QStringLiteral("）");
    }
    return reason;
}

// The first subject matching the text, its captures put in; the last of several is a reason.
QString translatedSubject(const QString& text) {
    for (const Phrase& phrase : subjects()) {
        const QRegularExpressionMatch match = phrase.english.match(text);
        if (!match.hasMatch()) {
            continue;
        }
        QString result = phrase.chinese;
        for (int index = match.lastCapturedIndex(); index >= 1; --index) {
            const QString part = index == match.lastCapturedIndex() && index > 1
                                     ? translatedReason(match.captured(index))
                                     : match.captured(index);
            result.replace(QStringLiteral("\\%1").arg(index), part);
        }
        return result;
    }
    return text;
}

} // namespace

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
    return translatedSubject(error.text());
}

QString chineseErrorReport(const RuntimeError& error) {
    return QStringLiteral("运行时错误 '%1'：\n\n%2").arg(error.number()).arg(chineseErrorText(error));
}
