// The failures' table: every reason says something in both languages, with every value it names.

#include "runtime/FailureTexts.h"

#include <QRegularExpression>
#include <QtTest>

#include <cerrno>
#include <cstring>

namespace {

// Values no sentence holds of itself, so that each can be found and taken out again.
Failure withEveryValue(Reason reason) {
    return Failure{.reason = reason,
                   .name = QStringLiteral("名称"),
                   .systemError = EACCES,
                   .sizes = {101, 202, 303},
                   .detail = QStringLiteral("详情"),
                   .choices = {QStringLiteral("甲"), QStringLiteral("乙")}};
}

// The pieces of a rendering that come from the failure's values; `text` without them.
QStringList valuesIn(QString& text) {
    const QString systemReason = QString::fromLocal8Bit(std::strerror(EACCES));
    const QStringList values{QStringLiteral("名称"), systemReason,          QStringLiteral("101"),
                             QStringLiteral("202"),  QStringLiteral("303"), QStringLiteral("详情"),
                             QStringLiteral("甲"),   QStringLiteral("乙")};
    QStringList found;
    for (const QString& value : values) {
        if (text.contains(value)) {
            found << value;
            text.remove(value);
        }
    }
    return found;
}

} // namespace

Q_DECLARE_METATYPE(Reason)
Q_DECLARE_METATYPE(Failure)

class FailureTextsTest : public QObject {
    Q_OBJECT
private slots:
    void everyReasonSaysTheSameValuesInBothLanguages_data() {
        QTest::addColumn<Reason>("reason");
        for (int index = 0; index < static_cast<int>(Reason::Count); ++index) {
            QTest::addRow("reason %d", index) << static_cast<Reason>(index);
        }
    }
    void everyReasonSaysTheSameValuesInBothLanguages() {
        QFETCH(Reason, reason);
        QString english = englishText(withEveryValue(reason));
        QString chinese = chineseText(withEveryValue(reason));
        const QStringList englishValues = valuesIn(english);
        QCOMPARE(valuesIn(chinese), englishValues);
        QVERIFY2(!english.trimmed().isEmpty() && !chinese.trimmed().isEmpty(), qPrintable(english));
        QVERIFY2(!english.contains('{') && !chinese.contains('{'), qPrintable(english + chinese));

        // Names typed on the command line and the file types are the same in every language.
        static const QRegularExpression typedNames(QStringLiteral(
            R"(quillet-export|--[a-z-]+|\b(PICTURE|POINTFILE|jpg|gif|bmp|png|ico|dxf|svg|csv)\b)"));
        chinese.remove(typedNames);
        static const QRegularExpression latinLetters(QStringLiteral("[A-Za-z]+"));
        const QRegularExpressionMatch englishWord = latinLetters.match(chinese);
        QVERIFY2(!englishWord.hasMatch(), qPrintable(englishWord.captured() + " in " + chinese));
        static const QRegularExpression chineseLetters(
            QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
        QVERIFY2(!english.contains(chineseLetters), qPrintable(english));
    }

    void sentencesPutTheirValuesInPlace_data() {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        Failure leftBehind{.reason = Reason::WriteIsFolder, .name = "/a b/c", .systemError = EISDIR};
        leftBehind.notes.push_back(
            Failure{.reason = Reason::TemporaryLeftBehind, .name = "/a b/.quillet-x", .systemError = EROFS});
        const QString isFolder = QString::fromLocal8Bit(std::strerror(EISDIR));
        const QString readOnly = QString::fromLocal8Bit(std::strerror(EROFS));
        QTest::newRow("a note after the failure")
            << leftBehind
            << "Cannot write the file \"/a b/c\": it is a folder (" + isFolder +
                   "); the temporary file \"/a b/.quillet-x\" could not be removed (" + readOnly + ")"
            << "无法写入文件“/a b/c”：它是一个文件夹（" + isFolder +
                   "）；临时文件“/a b/.quillet-x”无法删除（" + readOnly + "）";
        QTest::newRow("sizes in their order")
            << Failure{.reason = Reason::PictureTooLarge, .name = "p", .sizes = {3, 2, 1}}
            << "Cannot open the picture \"p\": the picture is too large (3 x 2 pixels; at most 1 pixels)"
            << "无法打开图片“p”：图片太大（3 × 2 像素；最多 1 像素）";
        QTest::newRow("choices joined")
            << Failure{.reason = Reason::FormatRefused, .detail = "x", .choices = {"a", "b", "c"}}
            << "the format must be a, b or c, not 'x' (see quillet-export --help)"
            << "格式必须是 a、b 或 c，而不是“x”（参见 quillet-export --help）";
        QTest::newRow("a value spelled as a placeholder")
            << Failure{.reason = Reason::InternalError, .detail = "{name} {0}"}
            << "Internal error ({name} {0})"
            << "内部错误（{name} {0}）";
    }
    void sentencesPutTheirValuesInPlace() {
        QFETCH(Failure, failure);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QCOMPARE(englishText(failure), english);
        QCOMPARE(chineseText(failure), chinese);
    }

    void aReportCarriesTheNumberOfTheSystemsReason_data() {
        QTest::addColumn<int>("systemError");
        QTest::addColumn<int>("number");
        QTest::newRow("permission") << EACCES << 70;
        QTest::newRow("read-only file system") << EROFS << 70;
        QTest::newRow("disk full") << ENOSPC << 61;
        QTest::newRow("file too large") << EFBIG << 61;
        QTest::newRow("disk error") << EIO << 57;
        QTest::newRow("missing") << ENOENT << 76;
        QTest::newRow("any other") << ELOOP << 75;
    }
    void aReportCarriesTheNumberOfTheSystemsReason() {
        QFETCH(int, systemError);
        QFETCH(int, number);
        const Failure failure{.reason = Reason::WriteRefused, .name = "f", .systemError = systemError};
        QCOMPARE(runtimeErrorNumber(failure), number);
        QCOMPARE(chineseErrorReport(failure), QStringLiteral("运行时错误 '%1'：\n\n无法写入文件“f”：%2")
                                                  .arg(number)
                                                  .arg(QString::fromLocal8Bit(std::strerror(systemError))));
    }
};

QTEST_GUILESS_MAIN(FailureTextsTest)
#include "FailureTextsTest.moc"
