#include "PictureHeader.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// The header fields read here lie within the first bytes, except a jpg frame header, which follows
// any number of other segments.
constexpr qint64 HeadBytes = 64;

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int count) {
    quint32 value = 0;
    for (int index = 0; index < count; ++index) {
        value = (value << 8) | static_cast<uchar>(bytes[at + index]);
    }
    return value;
}

quint32 littleEndian(const QByteArray& bytes, qsizetype at, int count) {
    quint32 value = 0;
    for (int index = count - 1; index >= 0; --index) {
        value = (value << 8) | static_cast<uchar>(bytes[at + index]);
    }
    return value;
}

std::optional<PictureHeader> pngHeader(const QByteArray& head) {
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR") {
        return std::nullopt;
    }
    return PictureHeader{bigEndian(head, 16, 4), bigEndian(head, 20, 4), 0};
}

std::optional<PictureHeader> gifHeader(const QByteArray& head) {
    if (head.size() < 10 || !head.startsWith("GIF8")) {
        return std::nullopt;
    }
    // The logical screen, which the decoder allocates whatever the frames' sizes.
    return PictureHeader{littleEndian(head, 6, 2), littleEndian(head, 8, 2), 0};
}

std::optional<PictureHeader> bmpHeader(const QByteArray& head) {
    if (head.size() < 30 || !head.startsWith("BM")) {
        return std::nullopt;
    }
    const quint32 infoSize = littleEndian(head, 14, 4);
    PictureHeader header;
    qint64 bitsPerPixel = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        header.width = littleEndian(head, 18, 2);
        header.height = littleEndian(head, 20, 2);
        bitsPerPixel = littleEndian(head, 24, 2);
    } else if (head.size() >= 34) {
        header.width = std::abs(qint64{static_cast<qint32>(littleEndian(head, 18, 4))});
        header.height = std::abs(qint64{static_cast<qint32>(littleEndian(head, 22, 4))});
        bitsPerPixel = littleEndian(head, 28, 2);
        compression = littleEndian(head, 30, 4);
    } else {
        return std::nullopt;
    }
    // Uncompressed rows (plain or with bit-field masks) are four-byte aligned and all present. A
    // size beyond any file (the product would overflow) stands as the largest number.
    const bool uncompressed = compression == 0 || compression == 3;
    if (uncompressed && bitsPerPixel > 0 && bitsPerPixel <= 32) {
        const qint64 rowBytes = (header.width * bitsPerPixel + 31) / 32 * 4;
        const qint64 pixelsAt = littleEndian(head, 10, 4);
        const qint64 most = std::numeric_limits<qint64>::max();
        header.leastFileSize = header.height > 0 && rowBytes > (most - pixelsAt) / header.height
                                   ? most
                                   : pixelsAt + rowBytes * header.height;
    }
    return header;
}

bool isFrameMarker(uchar marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Segments walked in search of the frame header: colour profiles and other metadata come in a few
// dozen at most, and a file of fill bytes must not keep the walk going.
constexpr int JpegSegmentsWalked = 1024;

// Walks the segments up to the first frame header; each step moves forward.
std::optional<PictureHeader> jpegHeader(QIODevice& data) {
    qint64 at = 2;
    for (int step = 0; step < JpegSegmentsWalked && at < data.size() && data.seek(at); ++step) {
        const QByteArray segment = data.read(9);
        if (segment.size() < 4 || static_cast<uchar>(segment[0]) != 0xFF) {
            return std::nullopt;
        }
        const auto marker = static_cast<uchar>(segment[1]);
        if (marker == 0xFF) {
            at += 1; // fill byte
        } else if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2; // stand-alone marker
        } else if (isFrameMarker(marker)) {
            if (segment.size() < 9) {
                return std::nullopt;
            }
            return PictureHeader{bigEndian(segment, 7, 2), bigEndian(segment, 5, 2), 0};
        } else {
            at += 2 + bigEndian(segment, 2, 2);
        }
    }
    return std::nullopt;
}

// Icon directory entries looked at: real icons hold a handful of sizes.
constexpr int IconEntriesRead = 256;

// An icon's sizes are small; what matters is where its images end, which the directory tells.
std::optional<PictureHeader> iconHeader(QIODevice& data, const QByteArray& head) {
    const int count = static_cast<int>(std::min<quint32>(littleEndian(head, 4, 2), IconEntriesRead));
    data.seek(6);
    const QByteArray entries = data.read(16 * qint64{count});
    if (entries.size() < 16 * count || count == 0) {
        return std::nullopt;
    }
    PictureHeader header;
    for (int entry = 0; entry < count; ++entry) {
        const qsizetype at = 16 * entry;
        header.width =
            std::max<qint64>(header.width, entries[at] == 0 ? 256 : static_cast<uchar>(entries[at]));
        header.height =
            std::max<qint64>(header.height, entries[at + 1] == 0 ? 256 : static_cast<uchar>(entries[at + 1]));
        header.leastFileSize =
            std::max<qint64>(header.leastFileSize,
                             qint64{littleEndian(entries, at + 8, 4)} + littleEndian(entries, at + 12, 4));
    }
    return header;
}

} // namespace

std::optional<PictureHeader> readPictureHeader(QIODevice& data) {
    const qint64 start = data.pos();
    if (!data.seek(0)) {
        return std::nullopt;
    }
    const QByteArray head = data.read(HeadBytes);
    std::optional<PictureHeader> header;
    if (head.startsWith("\x89PNG")) {
        header = pngHeader(head);
    } else if (head.startsWith("GIF8")) {
        header = gifHeader(head);
    } else if (head.startsWith("BM")) {
        header = bmpHeader(head);
    } else if (head.startsWith("\xFF\xD8")) {
        header = jpegHeader(data);
    } else if (head.size() >= 6 &&
               (head.startsWith(QByteArray("\0\0\1\0", 4)) || head.startsWith(QByteArray("\0\0\2\0", 4)))) {
        header = iconHeader(data, head);
    }
    data.seek(start);
    return header;
}
