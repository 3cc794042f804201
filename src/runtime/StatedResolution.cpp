#include "StatedResolution.h"

#include <QByteArray>
#include <QFile>

namespace {

constexpr double MetresPerInch = 0.0254;
constexpr double CentimetresPerInch = 2.54;
// Chunks or segments walked before giving up: metadata comes in a few dozen at most.
constexpr int BlocksWalked = 1024;

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int count) {
    quint32 value = 0;
    for (int index = 0; index < count; ++index) {
        value = (value << 8) | static_cast<uchar>(bytes[at + index]);
    }
    return value;
}

std::optional<double> perMetre(quint32 dots) {
    return dots > 0 ? std::optional<double>(dots * MetresPerInch) : std::nullopt;
}

// Chunks up to the first pixel data: a pHYs chunk after it does not count.
std::optional<double> pngResolution(QIODevice& data) {
    qint64 at = 8;
    for (int step = 0; step < BlocksWalked && at < data.size() && data.seek(at); ++step) {
        const QByteArray chunk = data.read(17);
        if (chunk.size() < 8) {
            return std::nullopt;
        }
        const quint32 length = bigEndian(chunk, 0, 4);
        const QByteArray type = chunk.mid(4, 4);
        if (type == "pHYs") {
            const bool metres = chunk.size() == 17 && length >= 9 && chunk[16] == 1;
            return metres ? perMetre(bigEndian(chunk, 8, 4)) : std::nullopt;
        }
        if (type == "IDAT" || type == "IEND") {
            return std::nullopt;
        }
        at += 12 + qint64{length};
    }
    return std::nullopt;
}

// Segments up to the first frame header; the density is in the JFIF APP0 segment.
std::optional<double> jpegResolution(QIODevice& data) {
    qint64 at = 2;
    for (int step = 0; step < BlocksWalked && at < data.size() && data.seek(at); ++step) {
        const QByteArray segment = data.read(16);
        if (segment.size() < 4 || static_cast<uchar>(segment[0]) != 0xFF) {
            return std::nullopt;
        }
        const auto marker = static_cast<uchar>(segment[1]);
        if (marker == 0xFF) {
            at += 1;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xE0 && segment.size() >= 16 && segment.mid(4, 5) == QByteArray("JFIF\0", 5)) {
            const auto units = static_cast<uchar>(segment[11]);
            const double density = bigEndian(segment, 12, 2);
            if (density <= 0 || (units != 1 && units != 2)) {
                return std::nullopt;
            }
            return units == 1 ? density : density * CentimetresPerInch;
        }
        if (marker == 0xDA ||
            (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)) {
            return std::nullopt;
        }
        at += 2 + bigEndian(segment, 2, 2);
    }
    return std::nullopt;
}

// biXPelsPerMeter of an info header of 40 bytes or more (the 12-byte core header has none).
std::optional<double> bmpResolution(QIODevice& data) {
    if (!data.seek(14)) {
        return std::nullopt;
    }
    const QByteArray info = data.read(28);
    if (info.size() < 28) {
        return std::nullopt;
    }
    const auto littleEndian = [&](int at) {
        return static_cast<quint32>(static_cast<uchar>(info[at])) |
               static_cast<quint32>(static_cast<uchar>(info[at + 1])) << 8 |
               static_cast<quint32>(static_cast<uchar>(info[at + 2])) << 16 |
               static_cast<quint32>(static_cast<uchar>(info[at + 3])) << 24;
    };
    if (littleEndian(0) < 40) {
        return std::nullopt;
    }
    const auto dots = static_cast<qint32>(littleEndian(24));
    return dots > 0 ? perMetre(static_cast<quint32>(dots)) : std::nullopt;
}

} // namespace

std::optional<double> statedDotsPerInch(QIODevice& data) {
    const qint64 start = data.pos();
    if (!data.seek(0)) {
        return std::nullopt;
    }
    const QByteArray head = data.read(8);
    std::optional<double> dotsPerInch;
    if (head == QByteArray("\x89PNG\r\n\x1a\n")) {
        dotsPerInch = pngResolution(data);
    } else if (head.startsWith("\xFF\xD8")) {
        dotsPerInch = jpegResolution(data);
    } else if (head.startsWith("BM")) {
        dotsPerInch = bmpResolution(data);
    }
    data.seek(start);
    return dotsPerInch;
}

std::optional<double> statedDotsPerInch(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return statedDotsPerInch(file);
}
