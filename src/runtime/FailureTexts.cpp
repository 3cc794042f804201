#include "FailureTexts.h"

#include <QStringView>

#include <array>
#include <cerrno>
#include <cstring>

namespace {

namespace ErrorNumber {
constexpr int None = 0; // a refusal or a usage error: no runtime error
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int InternalError = 51;
constexpr int FileNotFound = 53;
constexpr int DeviceIOError = 57;
constexpr int DiskFull = 61;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380;
constexpr int InvalidPicture = 481;
constexpr int FromSystem = -1; // the number for the failure's errno
} // namespace ErrorNumber

// The runtime's error number for a system call's errno.
int errorNumberFor(int systemError) {
    switch (systemError) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorNumber::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ErrorNumber::DiskFull;
    case EIO:
        return ErrorNumber::DeviceIOError;
    case ENOENT:
        return ErrorNumber::PathNotFound;
    default:
        return ErrorNumber::PathFileAccessError;
    }
}

// A sentence's placeholders: {name}, {system} (the system's reason for the errno), {detail},
// {choices}, and {0}, {1}, {2} for the sizes in their order.
struct FailureText {
    Reason reason;
    int number;
    const char* english; // UTF-8
    const char* chinese; // UTF-8
};

using enum Reason;
using namespace ErrorNumber;

constexpr std::array<FailureText, static_cast<std::size_t>(Reason::Count)> Texts{{
    {Reason::Overflow, ErrorNumber::Overflow, "Overflow", "溢出"},
    {Reason::InvalidPropertyValue, ErrorNumber::InvalidPropertyValue, "Invalid property value",
     "无效的属性值"},
    {Reason::OutOfMemory, ErrorNumber::OutOfMemory, "Out of memory", "内存不足"},
    {Reason::DeviceUnavailable, ErrorNumber::DeviceUnavailable, "Device unavailable: \"{name}\"",
     "设备不可用：“{name}”"},
    {Reason::InternalError, ErrorNumber::InternalError, "Internal error ({detail})", "内部错误（{detail}）"},

    {PictureFileMissing, FileNotFound,
     "Cannot open the picture \"{name}\": the file does not exist ({system})",
     "无法打开图片“{name}”：文件不存在（{system}）"},
    {PictureFileNotOpened, FromSystem,
     "Cannot open the picture \"{name}\": the file cannot be opened ({system})",
     "无法打开图片“{name}”：无法打开文件（{system}）"},
    {PictureFileUnreadable, PathFileAccessError,
     "Cannot open the picture \"{name}\": the file cannot be read", "无法打开图片“{name}”：无法读取文件"},
    {PictureIsFolder, PathFileAccessError, "Cannot open the picture \"{name}\": it is a folder",
     "无法打开图片“{name}”：它是一个文件夹"},
    {PictureNotRegularFile, PathFileAccessError,
     "Cannot open the picture \"{name}\": it is not a regular file (a FIFO, socket or device)",
     "无法打开图片“{name}”：它不是普通文件（管道、套接字或设备）"},
    {PictureFileEmpty, InvalidPicture, "Cannot open the picture \"{name}\": the file is empty",
     "无法打开图片“{name}”：文件是空的"},
    {PictureUnknownFormat, InvalidPicture,
     "Cannot open the picture \"{name}\": not a picture in a known format (jpg, gif, bmp, png or ico)",
     "无法打开图片“{name}”：不是已知格式的图片（jpg、gif、bmp、png 或 ico）"},
    {PictureUndecodable, InvalidPicture,
     "Cannot open the picture \"{name}\": the picture cannot be decoded ({detail})",
     "无法打开图片“{name}”：无法解码图片（{detail}）"},
    {PictureCutShort, InvalidPicture,
     "Cannot open the picture \"{name}\": the picture data ends early (the file is cut short)",
     "无法打开图片“{name}”：图片数据提前结束（文件不完整）"},
    {PictureTooLarge, ErrorNumber::OutOfMemory,
     "Cannot open the picture \"{name}\": the picture is too large ({0} x {1} pixels; at most {2} pixels)",
     "无法打开图片“{name}”：图片太大（{0} × {1} 像素；最多 {2} 像素）"},
    {PictureTooWide, InvalidPicture,
     "Cannot open the picture \"{name}\": the picture is too wide for Qt's picture reader ({0} pixels in a "
     "line; at most {1})",
     "无法打开图片“{name}”：图片太宽，图片读取器无法读取（一行 {0} 像素；最多 {1} 像素）"},
    {PictureNeedsMemory, ErrorNumber::OutOfMemory,
     "Cannot open the picture \"{name}\": not enough memory to decode a {0} × {1} picture",
     "无法打开图片“{name}”：内存不足，无法解码 {0} × {1} 的图片"},
    {ConversionNeedsMemory, ErrorNumber::OutOfMemory,
     "Cannot convert the picture \"{name}\": not enough memory", "无法转换图片“{name}”：内存不足"},

    {FolderMissing, PathNotFound, "Cannot open the folder \"{name}\": it does not exist",
     "无法打开文件夹“{name}”：它不存在"},
    {FolderIsNoFolder, PathNotFound, "Cannot open the folder \"{name}\": it is not a folder",
     "无法打开文件夹“{name}”：它不是文件夹"},
    {FolderDenied, PathFileAccessError, "Cannot open the folder \"{name}\": access is denied",
     "无法打开文件夹“{name}”：拒绝访问"},

    {FileNameMissing, PathNotFound, "Cannot write a file: no file name was given",
     "无法写入文件：没有给出文件名"},
    {WriteRefused, FromSystem, "Cannot write the file \"{name}\": {system}",
     "无法写入文件“{name}”：{system}"},
    {WriteIsFolder, FromSystem, "Cannot write the file \"{name}\": it is a folder ({system})",
     "无法写入文件“{name}”：它是一个文件夹（{system}）"},
    {WriteFolderMissing, FromSystem, "Cannot write the file \"{name}\": the folder does not exist ({system})",
     "无法写入文件“{name}”：文件夹不存在（{system}）"},
    {WriteFolderReadOnly, FromSystem, "Cannot write the file \"{name}\": the folder is read-only ({system})",
     "无法写入文件“{name}”：文件夹是只读的（{system}）"},
    {WriteFileReadOnly, FromSystem, "Cannot write the file \"{name}\": the file is read-only ({system})",
     "无法写入文件“{name}”：文件是只读的（{system}）"},
    {WriteIsSocket, FromSystem,
     "Cannot write the file \"{name}\": it is a socket, not a file to write ({system})",
     "无法写入文件“{name}”：它是套接字，不是可写入的文件（{system}）"},
    {WriteIsBlockDevice, FromSystem,
     "Cannot write the file \"{name}\": it is a block device, not a file to write ({system})",
     "无法写入文件“{name}”：它是块设备，不是可写入的文件（{system}）"},
    {WriteIsNoFile, FromSystem,
     "Cannot write the file \"{name}\": it is neither a file nor a device to write ({system})",
     "无法写入文件“{name}”：它既不是可写入的文件，也不是设备（{system}）"},
    {WriteNameTaken, PathFileAccessError,
     "Cannot write the file \"{name}\": another file took its name while the export ran",
     "无法写入文件“{name}”：导出期间另一个文件占用了它的名字"},
    {WriteFileClosed, PathFileAccessError, "Cannot write the file \"{name}\": the file is closed",
     "无法写入文件“{name}”：文件已关闭"},
    {WriteOverPicture, PathFileAccessError, "Cannot write the file \"{name}\": it is the picture being read",
     "无法写入文件“{name}”：它就是正在读取的图片"},
    {WriteNotPutInPlace, PathFileAccessError,
     "Cannot write the file \"{name}\": it could not take the old file's place ({detail})",
     "无法写入文件“{name}”：它无法取代原有的文件（{detail}）"},
    {TemporaryLeftBehind, None, "the temporary file \"{name}\" could not be removed ({system})",
     "临时文件“{name}”无法删除（{system}）"},

    {ResolutionOutOfRange, None, "The resolution must be a number from 0.0000254 to 25400000 (dots per inch)",
     "分辨率必须是 0.0000254 到 25400000 之间的数（每英寸的点数）"},
    {MinimumAreaOutOfRange, None,
     "The small shapes to remove must be a whole number of pixels from 0 to 1000000",
     "去除小斑点必须是 0 到 1000000 之间的整数（像素）"},
    {PictureNotConverted, None, "The picture is not converted completely and cannot be exported.",
     "图片尚未转换完成，不能导出。"},
    {NewFolderNameInvalid, None, "Cannot make the folder \"{name}\": the name is not valid",
     "无法新建文件夹“{name}”：名称无效"},
    {NewFolderNameTaken, None, "Cannot make the folder \"{name}\": a file or folder of that name exists",
     "无法新建文件夹“{name}”：已有同名的文件或文件夹"},
    {NewFolderNotWritable, None, "Cannot make the folder \"{name}\": the folder holding it cannot be written",
     "无法新建文件夹“{name}”：文件夹不可写"},

    {ExportNeedsMemory, ErrorNumber::OutOfMemory, "Cannot export the picture \"{name}\": not enough memory",
     "无法导出图片“{name}”：内存不足"},
    {ExportFailed, ErrorNumber::InternalError, "Cannot export the picture \"{name}\": {detail}",
     "无法导出图片“{name}”：{detail}"},
    {StandardOutputUnwritable, None, "Cannot write to standard output: {system}",
     "无法写入标准输出：{system}"},
    {StandardErrorUnwritable, None, "Cannot write to standard error: {system}",
     "无法写入标准错误输出：{system}"},
    {StoppedBeforeWriting, None, "stopped by signal {0} ({detail}); \"{name}\" was not written",
     "被信号 {0}（{detail}）停止；“{name}”未写入"},
    {StoppedAfterWriting, None, "stopped by signal {0} ({detail}); \"{name}\" was written",
     "被信号 {0}（{detail}）停止；“{name}”已写入"},
    {StoppedBeforeWritingStandardOutput, None,
     "stopped by signal {0} ({detail}); standard output was not written",
     "被信号 {0}（{detail}）停止；标准输出未写入"},
    {StoppedAfterWritingStandardOutput, None, "stopped by signal {0} ({detail}); standard output was written",
     "被信号 {0}（{detail}）停止；标准输出已写入"},

    {StatedResolutionIgnored, None,
     "note: \"{name}\" states {detail} dpi, outside 0.0000254 to 25400000; the drawing takes 96 dpi",
     "注意：“{name}”标明的分辨率（每英寸 {detail} 点）不在 0.0000254 到 25400000 之间；图形按每英寸 96 "
     "点绘制"},

    {UnknownOption, None, "Unknown option '{detail}'. (see quillet-export --help)",
     "未知选项“{detail}”。（参见 quillet-export --help）"},
    {OptionValueMissing, None, "Missing value after '{detail}'. (see quillet-export --help)",
     "“{detail}”之后缺少值。（参见 quillet-export --help）"},
    {OptionValueUnexpected, None, "Unexpected value after '{detail}'. (see quillet-export --help)",
     "“{detail}”不带值。（参见 quillet-export --help）"},
    {ThresholdRefused, None,
     "the threshold must be a whole number from 0 to 255, not '{detail}' (see quillet-export --help)",
     "分界线必须是 0 到 255 的整数，而不是“{detail}”（参见 quillet-export --help）"},
    {FormatRefused, None, "the format must be {choices}, not '{detail}' (see quillet-export --help)",
     "格式必须是 {choices}，而不是“{detail}”（参见 quillet-export --help）"},
    {ShapesRefused, None, "the shapes must be {choices}, not '{detail}' (see quillet-export --help)",
     "图形必须是 {choices}，而不是“{detail}”（参见 quillet-export --help）"},
    {MinimumAreaRefused, None,
     "the minimum area must be a whole number of pixels in plain digits, not '{detail}' (see quillet-export "
     "--help)",
     "最小面积必须是只用数字写的像素数，而不是“{detail}”（参见 quillet-export --help）"},
    {PixelSizeRefused, None,
     "the pixel size in mm must be a decimal number from 0.000001 to 1000000, not '{detail}' (see "
     "quillet-export --help)",
     "像素的边长（毫米）必须是 0.000001 到 1000000 之间的十进制数，而不是“{detail}”（参见 quillet-export "
     "--help）"},
    {DpiRefused, None,
     "the resolution in dpi must be a decimal number from 0.0000254 to 25400000, not '{detail}' (see "
     "quillet-export --help)",
     "分辨率（每英寸的点数）必须是 0.0000254 到 25400000 之间的十进制数，而不是“{detail}”（参见 "
     "quillet-export --help）"},
    {PictureAndFileMissing, None, "missing PICTURE and POINTFILE (see quillet-export --help)",
     "缺少 PICTURE 和 POINTFILE（参见 quillet-export --help）"},
    {FileMissing, None, "missing POINTFILE (see quillet-export --help)",
     "缺少 POINTFILE（参见 quillet-export --help）"},
    {ArgumentUnexpected, None, "unexpected argument '{detail}' (see quillet-export --help)",
     "多余的参数“{detail}”（参见 quillet-export --help）"},
    {PixelSizeAndDpi, None, "give either --pixel-size or --dpi, not both (see quillet-export --help)",
     "--pixel-size 和 --dpi 只能给出一个（参见 quillet-export --help）"},
    {FileNameEmpty, None, "empty file name (see quillet-export --help)",
     "文件名为空（参见 quillet-export --help）"},
    {ShapesWithoutDrawing, None,
     "--shapes is for the dxf and svg drawings, not for {detail} output (see quillet-export --help)",
     "--shapes 只用于 dxf 和 svg 图形，不用于 {detail} 输出（参见 quillet-export --help）"},
    {MinimumAreaWithoutSpecks, None,
     "--min-area is for dxf, svg and csv output, not for {detail}: the point-data file always holds the "
     "whole "
     "selection (see quillet-export --help)",
     "--min-area 只用于 dxf、svg 和 csv 输出，不用于 {detail}：点数据文件总是包含全部选中的点（参见 "
     "quillet-export --help）"},
}};

consteval bool eachRowAtItsReason() {
    for (std::size_t index = 0; index < Texts.size(); ++index) {
        if (static_cast<std::size_t>(Texts[index].reason) != index) {
            return false;
        }
    }
    return true;
}
static_assert(eachRowAtItsReason(), "the rows follow the reasons' order, one each");

const FailureText& textOf(Reason reason) {
    return Texts[static_cast<std::size_t>(reason)];
}

// As the system words it, in the language the system is set to.
QString systemReason(int systemError) {
    return QString::fromLocal8Bit(std::strerror(systemError));
}

QString joinedChoices(const QStringList& choices, Language language) {
    if (choices.size() < 2) {
        return choices.join(QString());
    }
    const bool english = language == Language::English;
    return choices.first(choices.size() - 1).join(english ? QStringLiteral(", ") : QStringLiteral("、")) +
           (english ? QStringLiteral(" or ") : QStringLiteral(" 或 ")) + choices.last();
}

// One pass over the sentence, so that a value holding a placeholder's spelling stays as it is.
QString filledIn(const char* sentence, const Failure& failure, Language language) {
    const QString text = QString::fromUtf8(sentence);
    QString result;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
        if (close < 0) {
            result += QStringView(text).mid(at);
            break;
        }
        result += QStringView(text).mid(at, open - at);
        const QStringView key = QStringView(text).mid(open + 1, close - open - 1);
        bool isIndex = false;
        const int index = key.toInt(&isIndex);
        if (key == u"name") {
            result += failure.name;
        } else if (key == u"system") {
            result += systemReason(failure.systemError);
        } else if (key == u"detail") {
            result += failure.detail;
        } else if (key == u"choices") {
            result += joinedChoices(failure.choices, language);
        } else if (isIndex && index >= 0 && index < failure.sizes.size()) {
            result += QString::number(failure.sizes[index]);
        }
        at = close + 1;
    }
    return result;
}

} // namespace

QString failureText(const Failure& failure, Language language) {
    const FailureText& row = textOf(failure.reason);
    QString text = filledIn(language == Language::English ? row.english : row.chinese, failure, language);
    for (const Failure& note : failure.notes) {
        text += (language == Language::English ? QStringLiteral("; ") : QStringLiteral("；")) +
                failureText(note, language);
    }
    return text;
}

int runtimeErrorNumber(const Failure& failure) {
    const int number = textOf(failure.reason).number;
    return number == FromSystem ? errorNumberFor(failure.systemError) : number;
}

QString chineseErrorReport(const Failure& failure) {
    return QStringLiteral("运行时错误 '%1'：\n\n%2")
        .arg(runtimeErrorNumber(failure))
        .arg(chineseText(failure));
}
