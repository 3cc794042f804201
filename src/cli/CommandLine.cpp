#include "CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

const QString Program = QStringLiteral("quillet-export");

// A whole number written with digits only, 0 to 255.
bool parseThreshold(const QString& text, int& threshold) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    if (!digits.match(text).hasMatch()) {
        return false;
    }
    threshold = text.toInt();
    return threshold <= 255;
}

} // namespace

CommandLine CommandLine::usageError(const QString& reason) {
    CommandLine line;
    line.request_ = Request::UsageError;
    line.text_ = Program + QStringLiteral(": ") + reason + QStringLiteral(" (see ") + Program +
                 QStringLiteral(" --help)");
    return line;
}

CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption half(QStringLiteral("half"));
    const QCommandLineOption white(QStringLiteral("white"));
    const QCommandLineOption threshold(QStringLiteral("threshold"), QString(), QStringLiteral("N"));
    parser.addOptions({help, version, half, white, threshold});
    if (!parser.parse(arguments)) {
        return usageError(parser.errorText());
    }

    CommandLine line;
    if (parser.isSet(help)) {
        line.request_ = Request::Help;
        line.text_ = helpText();
        return line;
    }
    if (parser.isSet(version)) {
        line.request_ = Request::Version;
        line.text_ = versionText();
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() < 2) {
        return usageError(files.isEmpty() ? QStringLiteral("missing PICTURE and POINTFILE")
                                          : QStringLiteral("missing POINTFILE"));
    }
    if (files.size() > 2) {
        return usageError(QStringLiteral("unexpected argument '%1'").arg(files[2]));
    }
    if (files[0].isEmpty() || files[1].isEmpty()) {
        return usageError(QStringLiteral("empty file name"));
    }
    line.settings_.picture = files[0];
    line.settings_.pointFile = files[1];
    line.settings_.halfResolution = parser.isSet(half);
    line.settings_.polarity = parser.isSet(white) ? ExportPolarity::White : ExportPolarity::Black;
    if (parser.isSet(threshold) && !parseThreshold(parser.value(threshold), line.settings_.threshold)) {
        return usageError(QStringLiteral("the threshold must be a whole number from 0 to 255, not '%1'")
                              .arg(parser.value(threshold)));
    }
    return line;
}

QString CommandLine::helpText() {
    return QStringLiteral(
        "Usage: quillet-export [--half] [--white] [--threshold N] PICTURE POINTFILE\n"
        "Converts PICTURE (jpg, gif, bmp, png or ico) to grey and writes the point data of its pixels\n"
        "darker than the threshold to POINTFILE, as Quillet's export dialog does.\n"
        "  --half         take the points from the half-resolution picture\n"
        "  --white        write the pixels lighter than the threshold instead\n"
        "  --threshold N  grey threshold from 0 to 255 (default 122)\n"
        "Exit status: 0 done, 1 the picture cannot be read or the file cannot be written, 2 usage error.");
}

QString CommandLine::versionText() {
    return Program + QLatin1Char(' ') + QStringLiteral(QUILLET_VERSION);
}
