#include "CommandLine.h"

#include "export/PixelSize.h"
#include "runtime/FailureTexts.h"
#include "runtime/PathText.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <optional>

namespace {

const QString Program = QStringLiteral("quillet-export");

QString shown(const QByteArray& argument) {
    return pathForMessages(argument);
}

// A whole number in plain decimal digits, 0 to 255; leading zeros are allowed, nothing else is.
std::optional<int> parseThreshold(const QByteArray& text) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        value = value * 10 + (digit - '0');
        if (value > 255) {
            return std::nullopt;
        }
    }
    return value;
}

// A positive decimal number in plain digits with at most one point ("0.25", "300"), nothing else.
std::optional<double> parsePositiveDecimal(const QByteArray& text) {
    static const QRegularExpression plain(QStringLiteral("^([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    if (!plain.match(QString::fromLatin1(text)).hasMatch()) {
        return std::nullopt;
    }
    const double value = QLocale::c().toDouble(QString::fromLatin1(text));
    return value > 0 && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// A whole number in plain decimal digits, leading zeros allowed; one beyond the largest count of
// pixels stands for that count, which leaves out every shape as well.
std::optional<std::int64_t> parseCount(const QByteArray& text) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        value = value > (INT64_MAX - 9) / 10 ? INT64_MAX : value * 10 + (digit - '0');
    }
    return value;
}

struct ShapeName {
    const char* name;
    ShapeKind kind;
};
constexpr ShapeName ShapeNames[] = {
    {"outlines", ShapeKind::Outlines}, {"squares", ShapeKind::Squares}, {"smooth", ShapeKind::Smooth}};

const char* shapeName(ShapeKind kind) {
    for (const ShapeName& shape : ShapeNames) {
        if (shape.kind == kind) {
            return shape.name;
        }
    }
    return "";
}

Failure refused(Reason reason, const QByteArray& value) {
    return Failure{.reason = reason, .detail = shown(value)};
}

QStringList formatNames() {
    QStringList names;
    for (const FormatEntry& entry : outputFormats()) {
        names.append(QLatin1String(entry.name));
    }
    return names;
}

// One option of the command: its long name (after "--"), its short letter (after "-") if any, whether
// it takes a value, and what it sets; an option with its own request (help, version) sets nothing.
struct Option {
    const char* name;
    char letter;
    bool takesValue;
    CommandLine::Request request;
    // Sets the option's choice; returns why the value is refused, or nothing.
    std::optional<Failure> (*apply)(ExportSettings& settings, const QByteArray& value);
};

const Option Options[] = {
    {"help", 'h', false, CommandLine::Request::Help, nullptr},
    {"version", 0, false, CommandLine::Request::Version, nullptr},
    {"half", 0, false, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray&) -> std::optional<Failure> {
         settings.halfResolution = true;
         return std::nullopt;
     }},
    {"white", 0, false, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray&) -> std::optional<Failure> {
         settings.polarity = ExportPolarity::White;
         return std::nullopt;
     }},
    {"threshold", 0, true, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray& value) -> std::optional<Failure> {
         const std::optional<int> threshold = parseThreshold(value);
         if (!threshold) {
             return refused(Reason::ThresholdRefused, value);
         }
         settings.threshold = *threshold;
         return std::nullopt;
     }},
    {"format", 0, true, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray& value) -> std::optional<Failure> {
         settings.format = formatNamed(QString::fromLatin1(value).toLower()); // as endings, any case
         if (!settings.format) {
             Failure failure = refused(Reason::FormatRefused, value);
             failure.choices = formatNames();
             return failure;
         }
         return std::nullopt;
     }},
    {"shapes", 0, true, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray& value) -> std::optional<Failure> {
         Failure failure = refused(Reason::ShapesRefused, value);
         for (const ShapeName& shape : ShapeNames) {
             if (value == shape.name) {
                 settings.shapes = shape.kind;
                 return std::nullopt;
             }
             failure.choices.append(QLatin1String(shape.name));
         }
         return failure;
     }},
    {"min-area", 0, true, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray& value) -> std::optional<Failure> {
         settings.minimumArea = parseCount(value);
         if (!settings.minimumArea) {
             return refused(Reason::MinimumAreaRefused, value);
         }
         return std::nullopt;
     }},
    {"pixel-size", 0, true, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray& value) -> std::optional<Failure> {
         settings.pixelMillimetres = parsePositiveDecimal(value);
         return settings.pixelMillimetres && isDrawableSide(*settings.pixelMillimetres)
                    ? std::optional<Failure>()
                    : refused(Reason::PixelSizeRefused, value);
     }},
    {"dpi", 0, true, CommandLine::Request::Export,
     [](ExportSettings& settings, const QByteArray& value) -> std::optional<Failure> {
         settings.dotsPerInch = parsePositiveDecimal(value);
         return settings.dotsPerInch && isDrawableResolution(*settings.dotsPerInch)
                    ? std::optional<Failure>()
                    : refused(Reason::DpiRefused, value);
     }},
};

const Option* findOption(const QByteArray& name, bool isLetter) {
    for (const Option& option : Options) {
        if (isLetter ? name.size() == 1 && option.letter == name[0] : name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

CommandLine CommandLine::usageError(const Failure& failure) {
    CommandLine line;
    line.request_ = Request::UsageError;
    line.text_ = Program + QStringLiteral(": ") + englishText(failure);
    return line;
}

CommandLine CommandLine::parse(const QList<QByteArray>& arguments) {
    CommandLine line;
    QList<QByteArray> files;
    bool optionsEnded = false;
    Request asked = Request::Export;
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QByteArray& argument = arguments[index];
        // "-" alone is a file name (standard output as the point file); "--" ends the options.
        if (optionsEnded || argument == "-" || !argument.startsWith('-')) {
            files.append(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const bool isLong = argument.startsWith("--");
        const QByteArray body = argument.mid(isLong ? 2 : 1);
        const qsizetype equals = isLong ? body.indexOf('=') : -1;
        const QByteArray name = equals < 0 ? body : body.left(equals);
        const Option* option = findOption(name, !isLong);
        if (!option) {
            return usageError(refused(Reason::UnknownOption, name));
        }
        QByteArray value;
        if (option->takesValue) {
            if (equals >= 0) {
                value = body.mid(equals + 1);
            } else if (index + 1 < arguments.size()) {
                value = arguments[++index];
            } else {
                return usageError(refused(Reason::OptionValueMissing, argument));
            }
        } else if (equals >= 0) {
            return usageError(refused(Reason::OptionValueUnexpected, argument));
        }
        if (option->request != Request::Export) {
            asked = asked == Request::Export || option->request == Request::Help ? option->request : asked;
        } else if (const std::optional<Failure> refusal = option->apply(line.settings_, value)) {
            return usageError(*refusal);
        }
    }

    if (asked != Request::Export) {
        line.request_ = asked;
        line.text_ = asked == Request::Help ? helpText() : versionText();
        return line;
    }
    if (files.size() < 2) {
        return usageError(Failure{files.isEmpty() ? Reason::PictureAndFileMissing : Reason::FileMissing});
    }
    if (files.size() > 2) {
        return usageError(refused(Reason::ArgumentUnexpected, files[2]));
    }
    if (line.settings_.pixelMillimetres && line.settings_.dotsPerInch) {
        return usageError(Failure{Reason::PixelSizeAndDpi});
    }
    if (files[0].isEmpty() || files[1].isEmpty()) {
        return usageError(Failure{Reason::FileNameEmpty});
    }
    line.settings_.picture = files[0];
    line.settings_.pointFile = files[1];
    const FormatEntry& format = formatEntry(line.settings_.outputFormat());
    if (line.settings_.shapes && !format.drawing) {
        return usageError(
            Failure{.reason = Reason::ShapesWithoutDrawing, .detail = QLatin1String(format.name)});
    }
    if (line.settings_.minimumArea && !format.filtersSpecks) {
        return usageError(
            Failure{.reason = Reason::MinimumAreaWithoutSpecks, .detail = QLatin1String(format.name)});
    }
    return line;
}

QString CommandLine::helpText() {
    const QString help = QStringLiteral(
        "Usage: quillet-export [--half] [--white] [--threshold N] [--format records|dxf|svg|csv]\n"
        "                      [--shapes S] [--min-area N] [--pixel-size MM | --dpi N] PICTURE OUTFILE\n"
        "Converts PICTURE (jpg, gif, bmp, png or ico) to grey and writes its pixels darker than the\n"
        "threshold to OUTFILE (- for standard output), as Quillet's export dialog does.\n"
        "  --half          take the points from the half-resolution picture\n"
        "  --white         write the pixels lighter than the threshold instead\n"
        "  --threshold N   grey threshold from 0 to 255 (default 122)\n"
        "  --format F      records (the 24-byte point-data file), dxf, svg or csv (any case); without it\n"
        "                  OUTFILE's ending decides (.dxf, .svg, .csv, anything else the point-data file)\n"
        "  --shapes S      dxf and svg: outlines (exact, with holes), smooth (straight edges in any\n"
        "                  direction, each pixel centre on its side) or squares (filled pixels); default %1\n"
        "  --min-area N    dxf, svg, csv: drop shapes of fewer than N pixels (touching at edges or corners)\n"
        "  --pixel-size MM a pixel's side in the drawing, in millimetres (0.000001 to 1000000)\n"
        "  --dpi N         the same as a resolution (0.0000254 to 25400000); default: the one or two\n"
        "                  (across and down) the picture states, else 96\n"
        "Exit status: 0 done, 1 picture unreadable or file unwritable, 2 usage error, 128 + N signal N.");
    return help.arg(QLatin1String(shapeName(DefaultShapeKind)));
}

QString CommandLine::versionText() {
    return Program + QLatin1Char(' ') + QStringLiteral(QUILLET_VERSION);
}
