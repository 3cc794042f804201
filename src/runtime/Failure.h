#pragma once
// A failure the user is told of: its reason as a code and the values its sentence names. The sentences
// themselves, in English for the command and in Chinese for the windows, are FailureTexts' table.

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

enum class Reason {
    // The forms runtime's own errors.
    Overflow,
    InvalidPropertyValue,
    OutOfMemory,
    DeviceUnavailable, // name: the drive
    InternalError,     // detail: the exception's own words

    // Opening a picture; name: the path.
    PictureFileMissing,   // systemError
    PictureFileNotOpened, // systemError: of the open, or of the look at what it opened
    PictureFileUnreadable,
    PictureIsFolder,
    PictureNotRegularFile,
    PictureFileEmpty,
    PictureUnknownFormat,
    PictureUndecodable, // detail: the decoder's own words
    PictureCutShort,
    PictureTooLarge,    // sizes: width, height, the largest number of pixels taken
    PictureTooWide,     // sizes: width, the longest line Qt's reader takes
    PictureNeedsMemory, // sizes: width, height
    ConversionNeedsMemory,

    // Opening a folder; name: the folder.
    FolderMissing,
    FolderIsNoFolder,
    FolderDenied,

    // Writing a file; name: the path, systemError: the errno of the call that failed, if any.
    FileNameMissing,
    WriteRefused,
    WriteIsFolder,
    WriteFolderMissing,
    WriteFolderReadOnly,
    WriteFileReadOnly,
    WriteIsSocket,
    WriteIsBlockDevice,
    WriteIsNoFile,
    WriteNameTaken,
    WriteFileClosed,
    WriteOverPicture,
    WriteNotPutInPlace,  // detail: the system's words
    TemporaryLeftBehind, // told after the failure that left it

    // The export dialog's refusals; name: the folder for a new folder.
    ResolutionOutOfRange,
    MinimumAreaOutOfRange,
    PictureNotConverted,
    NewFolderNameInvalid,
    NewFolderNameTaken,
    NewFolderNotWritable,

    // The command's run; name: the picture or the file written.
    ExportNeedsMemory,
    ExportFailed, // detail: the exception's own words
    StandardOutputUnwritable,
    StandardErrorUnwritable,
    StoppedBeforeWriting, // sizes: the signal; detail: the system's name for it
    StoppedAfterWriting,
    StoppedBeforeWritingStandardOutput,
    StoppedAfterWritingStandardOutput,
    StatedResolutionIgnored, // detail: the stated dots per inch, "X × Y" where they differ

    // The command's usage; detail: the argument as given.
    UnknownOption,
    OptionValueMissing,
    OptionValueUnexpected,
    ThresholdRefused,
    FormatRefused, // choices: the formats' names
    ShapesRefused, // choices: the shapes' names
    MinimumAreaRefused,
    PixelSizeRefused,
    DpiRefused,
    PictureAndFileMissing,
    FileMissing,
    ArgumentUnexpected,
    PixelSizeAndDpi,
    FileNameEmpty,
    ShapesWithoutDrawing,     // detail: the format's name
    MinimumAreaWithoutSpecks, // detail: the format's name

    Count // the number of reasons, not one
};

struct Failure {
    Reason reason;
    QString name{};               // a path, folder or drive, as shown to the user
    int systemError = 0;          // the errno the system gave; 0 for none
    QList<qint64> sizes{};        // widths, heights, limits, a signal
    QString detail{};             // words of another program or of the user, shown as they are
    QStringList choices{};        // the values that would have been taken
    std::vector<Failure> notes{}; // told after this one: what the failure left behind
};
