#include "LoadPicture.h"

#include "EndWatchingDevice.h"
#include "PathText.h"
#include "PictureHeader.h"
#include "RuntimeError.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

RuntimeError pictureError(Reason reason, const QString& name, int systemError = 0) {
    return RuntimeError(Failure{.reason = reason, .name = name, .systemError = systemError});
}

// The types the open dialog offers. Qt has readers for more (tga, wbmp, tiff, ...), some of which
// claim almost any bytes as a picture; a file is taken only as one of these.
bool isOfferedFormat(const QByteArray& format) {
    return format == "png" || format == "jpeg" || format == "jpg" || format == "gif" || format == "bmp" ||
           format == "ico" || format == "cur";
}

RuntimeError tooLargeError(const QString& name, qint64 width, qint64 height, qint64 largestPixels) {
    return RuntimeError(
        Failure{.reason = Reason::PictureTooLarge, .name = name, .sizes = {width, height, largestPixels}});
}

// Qt holds a picture's line of 32-bit pixels in fewer than 2^31 bytes, and its readers refuse a wider
// picture before reading it, whatever its pixels' depth in the file: 67,108,863 pixels.
constexpr qint64 LongestLinePixels = (std::numeric_limits<int>::max() - 31) / 32;

// The reader's own limit, not memory: a line that long is refused whatever memory is free.
RuntimeError tooWideError(const QString& name, qint64 width) {
    return RuntimeError(
        Failure{.reason = Reason::PictureTooWide, .name = name, .sizes = {width, LongestLinePixels}});
}

// Without forming the product, which headers of four-byte sizes make overflow.
bool hasMorePixelsThan(qint64 width, qint64 height, qint64 largestPixels) {
    return width > 0 && height > 0 && width > largestPixels / height;
}

RuntimeError cutShortError(const QString& name) {
    return pictureError(Reason::PictureCutShort, name);
}

RuntimeError outOfMemoryError(const QString& name, const QSize& size) {
    return RuntimeError(
        Failure{.reason = Reason::PictureNeedsMemory, .name = name, .sizes = {size.width(), size.height()}});
}

// Whether a picture of this size could be held at all: a decoder that fails to allocate it says only
// that it cannot read the data.
bool memoryHolds(const QSize& size) {
    return !QImage(size, QImage::Format_ARGB32).isNull();
}

// The signatures of the offered types: a file that starts as one of them and ends before the reader
// can even take it is cut short, not of an unknown type.
bool startsAsAnOfferedType(const QByteArray& head) {
    return head.startsWith("\x89PNG") || head.startsWith("GIF8") || head.startsWith("BM") ||
           head.startsWith("\xFF\xD8") || head.startsWith(QByteArray("\0\0\1\0", 4)) ||
           head.startsWith(QByteArray("\0\0\2\0", 4));
}

// Real icons hold a handful of sizes; a header claiming thousands (each looked at costs a seek
// and a read) must not keep the loading busy.
constexpr int IconSizesLookedAt = 256;

// An icon file holds several sizes; the largest shows the picture best.
int largestImageIndex(QImageReader& reader) {
    if ((reader.format() != "ico" && reader.format() != "cur") || reader.imageCount() <= 1) {
        return -1;
    }
    const int count = std::min(reader.imageCount(), IconSizesLookedAt);
    int best = -1;
    qint64 bestArea = -1;
    for (int index = 0; index < count; ++index) {
        if (!reader.jumpToImage(index)) {
            continue;
        }
        const QSize size = reader.size();
        const qint64 area = qint64{size.width()} * size.height();
        if (area > bestArea) {
            bestArea = area;
            best = index;
        }
    }
    return best;
}

// Transparent parts are shown as they would be on white paper.
QImage flattenedOnWhite(const QImage& picture) {
    if (!picture.hasAlphaChannel()) {
        return picture.convertToFormat(QImage::Format_RGB32);
    }
    QImage flat(picture.size(), QImage::Format_RGB32);
    if (flat.isNull()) {
        return flat;
    }
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    return flat;
}

// JPEG and GIF decoders fill a cut-short picture with grey or leave it half drawn and report
// success; the BMP decoder stops at the first short row and reports success too. A decoder that
// asked for bytes past the end of the data was given a cut-short file.
bool decodedPastTheEnd(const EndWatchingDevice& source, const QByteArray& format) {
    return source.ranDry() || (format == "bmp" && source.ranShort());
}

// Whether the file lacks the mark its type ends with: a png's closing chunk (which its decoder does
// not need), a jpg's end of image. Decoders that fail on a cut-short file often say only that they
// cannot read the data.
bool lacksItsEnd(QIODevice& data, const QByteArray& format) {
    constexpr qint64 TailBytes = 4096;
    if (!data.seek(std::max<qint64>(0, data.size() - TailBytes))) {
        return false;
    }
    const QByteArray tail = data.read(TailBytes);
    if (format == "png") {
        return !tail.contains("IEND\xAE\x42\x60\x82");
    }
    if (format == "jpeg" || format == "jpg") {
        return !tail.contains("\xFF\xD9");
    }
    return false;
}

DecodedPicture decodeFrom(QIODevice& data, const QString& name, qint64 largestPixels) {
    EndWatchingDevice source(data);
    if (!source.open(QIODevice::ReadOnly)) {
        throw pictureError(Reason::PictureFileUnreadable, name);
    }
    if (source.size() == 0) {
        throw pictureError(Reason::PictureFileEmpty, name);
    }
    const std::optional<PictureHeader> header = readPictureHeader(source);
    if (header) {
        if (hasMorePixelsThan(header->width, header->height, largestPixels)) {
            throw tooLargeError(name, header->width, header->height, largestPixels);
        }
        if (header->width > LongestLinePixels) {
            throw tooWideError(name, header->width);
        }
        if (header->leastFileSize > source.size()) {
            throw cutShortError(name);
        }
    }
    QImageReader reader(&source);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    // The readers' own limit, in megabytes of decoded image, catches what the size check below
    // cannot see (a size the header does not tell, an icon entry larger than it claims).
    QImageReader::setAllocationLimit(static_cast<int>(largestPixels * 8 / (1024 * 1024)) + 1);
    if (!reader.canRead() || !isOfferedFormat(reader.format())) {
        const bool ranOut = source.ranShort() || source.ranDry();
        if (ranOut && data.seek(0) && startsAsAnOfferedType(data.read(4))) {
            throw cutShortError(name);
        }
        throw pictureError(Reason::PictureUnknownFormat, name);
    }
    const QByteArray format = reader.format();
    const int index = largestImageIndex(reader);
    if (index >= 0) {
        reader.jumpToImage(index);
    }
    const QSize size = reader.size();
    if (hasMorePixelsThan(size.width(), size.height(), largestPixels)) {
        throw tooLargeError(name, size.width(), size.height(), largestPixels);
    }
    if (size.width() > LongestLinePixels) {
        throw tooWideError(name, size.width());
    }
    source.forgetShortReads();
    QImage picture;
    bool decoded = false;
    try {
        decoded = reader.read(&picture) && !picture.isNull();
    } catch (const std::bad_alloc&) {
        throw outOfMemoryError(name, size);
    }
    if (!decoded) {
        if (size.isValid() && !memoryHolds(size)) {
            throw outOfMemoryError(name, size);
        }
        if (source.ranShort() || source.ranDry() || lacksItsEnd(data, format)) {
            throw cutShortError(name);
        }
        throw RuntimeError(
            Failure{.reason = Reason::PictureUndecodable, .name = name, .detail = reader.errorString()});
    }
    if (decodedPastTheEnd(source, format) || (format == "png" && lacksItsEnd(data, format))) {
        throw cutShortError(name);
    }
    if (hasMorePixelsThan(picture.width(), picture.height(), largestPixels)) {
        throw tooLargeError(name, picture.width(), picture.height(), largestPixels);
    }
    QImage flat = flattenedOnWhite(picture);
    if (flat.isNull()) {
        throw outOfMemoryError(name, picture.size());
    }
    return {std::move(flat), header ? header->statedDotsPerInch : std::nullopt};
}

} // namespace

QImage decodePicture(const QByteArray& bytes, const QString& nameForMessages, qint64 largestPixels) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeFrom(buffer, nameForMessages, largestPixels).picture;
}

QImage LoadPicture(const QString& path) {
    return path.isEmpty() ? QImage() : decodePictureFile(path).picture;
}

DecodedPicture decodePictureFile(const QString& path) {
    return PictureFile(QFile::encodeName(path)).decode();
}

PictureFile::PictureFile(const QByteArray& path) : name_(pathForMessages(path)) {
#if defined(_WIN32)
    const int descriptor = ::_open(path.constData(), _O_RDONLY | _O_BINARY);
#else
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
#endif
    if (descriptor < 0) {
        const int error = errno;
        throw pictureError(error == ENOENT ? Reason::PictureFileMissing : Reason::PictureFileNotOpened, name_,
                           error);
    }
    if (!file_.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
#if defined(_WIN32)
        ::_close(descriptor);
#else
        ::close(descriptor);
#endif
        throw pictureError(Reason::PictureFileUnreadable, name_);
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        throw pictureError(Reason::PictureFileNotOpened, name_, errno);
    }
    if ((status.st_mode & S_IFMT) == S_IFDIR) {
        throw pictureError(Reason::PictureIsFolder, name_);
    }
    if ((status.st_mode & S_IFMT) != S_IFREG) {
        throw pictureError(Reason::PictureNotRegularFile, name_);
    }
#if !defined(_WIN32)
    // Reads of the file itself then wait for the disk as usual.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
#endif
    device_ = static_cast<std::uint64_t>(status.st_dev);
    inode_ = static_cast<std::uint64_t>(status.st_ino);
}

DecodedPicture PictureFile::decode() {
    return decodeFrom(file_, name_, LargestPicturePixels);
}
