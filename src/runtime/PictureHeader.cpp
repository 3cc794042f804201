#include "PictureHeader.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// The fields read from the first bytes; a png's and a jpg's are found by walking its chunks or segments.
constexpr qint64 HeadBytes = 64;
// Chunks or segments walked: metadata comes in a few dozen at most, and a file of fill bytes must not
// keep the walk going.
constexpr int BlocksWalked = 1024;
// Icon directory entries looked at: real icons hold a handful of sizes.
constexpr int IconEntriesRead = 256;

constexpr double CentimetresPerInch = 2.54;
// An inch is 254 ten-thousandths of a metre: the sums stay in whole numbers.
constexpr qint64 MetreInTenThousandths = 10000;
constexpr qint64 InchInTenThousandthsOfAMetre = 254;
// Beyond two decimals a step of the dots per inch is below the width of a pixel per metre's rounding
// (0.0254 dpi): two always find one.
constexpr int MostDecimals = 2;

// The integer at `at`, whose bytes the caller has checked are there.
template <typename Integer> Integer bigEndianAt(const QByteArray& bytes, qsizetype at) {
    return qFromBigEndian<Integer>(bytes.constData() + at);
}
template <typename Integer> Integer littleEndianAt(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<Integer>(bytes.constData() + at);
}

std::optional<DotsPerInch> perMetre(qint64 x, qint64 y) {
    const std::optional<double> alongX = dotsPerInchOfPixelsPerMetre(x);
    const std::optional<double> alongY = dotsPerInchOfPixelsPerMetre(y);
    if (!alongX || !alongY) {
        return std::nullopt;
    }
    return DotsPerInch{*alongX, *alongY};
}

// The size in IHDR, and the chunks up to the first pixel data for pHYs: one after it does not count.
std::optional<PictureHeader> pngHeader(QIODevice& data, const QByteArray& head) {
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR") {
        return std::nullopt;
    }
    PictureHeader header{.width = bigEndianAt<quint32>(head, 16), .height = bigEndianAt<quint32>(head, 20)};
    qint64 at = 8;
    for (int step = 0; step < BlocksWalked && at < data.size() && data.seek(at); ++step) {
        const QByteArray chunk = data.read(17);
        if (chunk.size() < 8) {
            break;
        }
        const quint32 length = bigEndianAt<quint32>(chunk, 0);
        const QByteArray type = chunk.mid(4, 4);
        if (type == "pHYs") {
            const bool metres = chunk.size() == 17 && length >= 9 && chunk[16] == 1;
            header.statedDotsPerInch =
                metres ? perMetre(bigEndianAt<quint32>(chunk, 8), bigEndianAt<quint32>(chunk, 12))
                       : std::nullopt;
            break;
        }
        if (type == "IDAT" || type == "IEND") {
            break;
        }
        at += 12 + qint64{length};
    }
    return header;
}

std::optional<PictureHeader> gifHeader(const QByteArray& head) {
    if (head.size() < 10) {
        return std::nullopt;
    }
    // The logical screen, which the decoder allocates whatever the frames' sizes.
    return PictureHeader{.width = littleEndianAt<quint16>(head, 6),
                         .height = littleEndianAt<quint16>(head, 8)};
}

std::optional<PictureHeader> bmpHeader(const QByteArray& head) {
    if (head.size() < 30) {
        return std::nullopt;
    }
    const quint32 infoSize = littleEndianAt<quint32>(head, 14);
    PictureHeader header;
    qint64 bitsPerPixel = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        header.width = littleEndianAt<quint16>(head, 18);
        header.height = littleEndianAt<quint16>(head, 20);
        bitsPerPixel = littleEndianAt<quint16>(head, 24);
    } else if (head.size() >= 34) {
        header.width = std::abs(qint64{littleEndianAt<qint32>(head, 18)});
        header.height = std::abs(qint64{littleEndianAt<qint32>(head, 22)});
        bitsPerPixel = littleEndianAt<quint16>(head, 28);
        compression = littleEndianAt<quint32>(head, 30);
    } else {
        return std::nullopt;
    }
    // Uncompressed rows (plain or with bit-field masks) are four-byte aligned and all present. A
    // size beyond any file (the product would overflow) stands as the largest number.
    const bool uncompressed = compression == 0 || compression == 3;
    if (uncompressed && bitsPerPixel > 0 && bitsPerPixel <= 32) {
        const qint64 rowBytes = (header.width * bitsPerPixel + 31) / 32 * 4;
        const qint64 pixelsAt = littleEndianAt<quint32>(head, 10);
        const qint64 most = std::numeric_limits<qint64>::max();
        header.leastFileSize = header.height > 0 && rowBytes > (most - pixelsAt) / header.height
                                   ? most
                                   : pixelsAt + rowBytes * header.height;
    }
    // biXPelsPerMeter and biYPelsPerMeter, in an info header of 40 bytes or more (the 12-byte core
    // header has none).
    if (infoSize >= 40 && head.size() >= 46) {
        header.statedDotsPerInch =
            perMetre(littleEndianAt<qint32>(head, 38), littleEndianAt<qint32>(head, 42));
    }
    return header;
}

bool isFrameMarker(uchar marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// A JFIF APP0 segment's density in dots per inch, from its first 16 bytes; units 0 is an aspect ratio.
std::optional<DotsPerInch> jfifDensity(const QByteArray& segment) {
    const auto units = static_cast<uchar>(segment[11]);
    const double x = bigEndianAt<quint16>(segment, 12);
    const double y = bigEndianAt<quint16>(segment, 14);
    if (x <= 0 || y <= 0 || (units != 1 && units != 2)) {
        return std::nullopt;
    }
    const double perInch = units == 1 ? 1.0 : CentimetresPerInch;
    return DotsPerInch{x * perInch, y * perInch};
}

// Walks the segments up to the first frame header, which holds the size, noting the first JFIF
// segment's density on the way; each step moves forward.
std::optional<PictureHeader> jpegHeader(QIODevice& data) {
    std::optional<DotsPerInch> density;
    bool jfifSeen = false;
    qint64 at = 2;
    for (int step = 0; step < BlocksWalked && at < data.size() && data.seek(at); ++step) {
        const QByteArray segment = data.read(16);
        if (segment.size() < 4 || static_cast<uchar>(segment[0]) != 0xFF) {
            return std::nullopt;
        }
        const auto marker = static_cast<uchar>(segment[1]);
        if (marker == 0xFF) {
            at += 1; // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2; // stand-alone marker
            continue;
        }
        if (isFrameMarker(marker)) {
            if (segment.size() < 9) {
                return std::nullopt;
            }
            return PictureHeader{.width = bigEndianAt<quint16>(segment, 7),
                                 .height = bigEndianAt<quint16>(segment, 5),
                                 .statedDotsPerInch = density};
        }
        if (marker == 0xDA) {
            return std::nullopt; // pixel data with no frame header before it
        }
        if (marker == 0xE0 && !jfifSeen && segment.size() >= 16 &&
            segment.mid(4, 5) == QByteArray("JFIF\0", 5)) {
            jfifSeen = true;
            density = jfifDensity(segment);
        }
        at += 2 + bigEndianAt<quint16>(segment, 2);
    }
    return std::nullopt;
}

// An icon's sizes are small; what matters is where its images end, which the directory tells.
std::optional<PictureHeader> iconHeader(QIODevice& data, const QByteArray& head) {
    const int count = std::min<int>(littleEndianAt<quint16>(head, 4), IconEntriesRead);
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
            std::max<qint64>(header.leastFileSize, qint64{littleEndianAt<quint32>(entries, at + 8)} +
                                                       littleEndianAt<quint32>(entries, at + 12));
    }
    return header;
}

} // namespace

std::optional<double> dotsPerInchOfPixelsPerMetre(qint64 pixelsPerMetre) {
    // A file holds at most 32 bits, which keeps the sums below well within 64.
    if (pixelsPerMetre <= 0 || pixelsPerMetre > std::numeric_limits<quint32>::max()) {
        return std::nullopt;
    }
    qint64 scale = 1; // 10^decimals
    for (int decimals = 0; decimals <= MostDecimals; ++decimals, scale *= 10) {
        // k / scale dpi is k * 10000 / (254 * scale) pixels per metre; it rounds half up to p when
        // (2p - 1) * 254 * scale <= 2 * k * 10000 < (2p + 1) * 254 * scale. The exact value is
        // p * 254 * scale / 10000 in steps of 1 / scale.
        const qint64 exact = pixelsPerMetre * InchInTenThousandthsOfAMetre * scale; // in 1 / (10000 * scale)
        const qint64 middle = exact / MetreInTenThousandths;
        std::optional<qint64> best;
        for (qint64 k = std::max<qint64>(middle - 3, 1); k <= middle + 3; ++k) {
            const qint64 twice = 2 * k * MetreInTenThousandths;
            const bool rounds = (2 * pixelsPerMetre - 1) * InchInTenThousandthsOfAMetre * scale <= twice &&
                                twice < (2 * pixelsPerMetre + 1) * InchInTenThousandthsOfAMetre * scale;
            const auto distance = [exact](qint64 candidate) {
                return std::abs(candidate * MetreInTenThousandths - exact);
            };
            // Ascending k: a tie goes to the larger.
            if (rounds && (!best || distance(k) <= distance(*best))) {
                best = k;
            }
        }
        if (best) {
            return static_cast<double>(*best) / static_cast<double>(scale);
        }
    }
    return std::nullopt; // two decimals always find one
}

std::optional<PictureHeader> readPictureHeader(QIODevice& data) {
    const qint64 start = data.pos();
    if (!data.seek(0)) {
        return std::nullopt;
    }
    const QByteArray head = data.read(HeadBytes);
    std::optional<PictureHeader> header;
    if (head.startsWith("\x89PNG")) {
        header = pngHeader(data, head);
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
