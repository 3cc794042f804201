#include "PictureCompleteness.h"

#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

unsigned byteAt(QByteArrayView file, qsizetype at) {
    return static_cast<unsigned char>(file[at]);
}

std::uint32_t bigEndian16(QByteArrayView file, qsizetype at) {
    return byteAt(file, at) << 8 | byteAt(file, at + 1);
}

std::uint32_t littleEndian16(QByteArrayView file, qsizetype at) {
    return byteAt(file, at) | byteAt(file, at + 1) << 8;
}

std::uint32_t littleEndian32(QByteArrayView file, qsizetype at) {
    return littleEndian16(file, at) | littleEndian16(file, at + 2) << 16;
}

// Skips GIF data sub-blocks from `at`; the position after their terminator, or -1 past the end.
qsizetype skipSubBlocks(QByteArrayView file, qsizetype at) {
    while (at < file.size()) {
        const unsigned length = byteAt(file, at);
        at += 1 + length;
        if (length == 0) {
            return at;
        }
    }
    return -1;
}

} // namespace

bool PictureCompleteness::endsEarly(QByteArrayView file) {
    if (file.startsWith("\xFF\xD8")) {
        return jpegEndsEarly(file);
    }
    if (file.startsWith("GIF87a") || file.startsWith("GIF89a")) {
        return gifEndsEarly(file);
    }
    if (file.startsWith("BM")) {
        return bmpEndsEarly(file);
    }
    return false;
}

bool PictureCompleteness::fileEndsEarly(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        return false;
    }
    // Mapped, not read: the walk touches little of a large file except in JPEG scans.
    if (const uchar* bytes = file.map(0, file.size())) {
        return endsEarly(QByteArrayView(bytes, file.size()));
    }
    return endsEarly(file.readAll());
}

// Marker segments up to the end-of-image marker; after each start-of-scan the entropy-coded data
// runs to the next marker that is neither a stuffed 0xFF nor a restart marker.
bool PictureCompleteness::jpegEndsEarly(QByteArrayView file) {
    qsizetype at = 2;
    while (at + 1 < file.size()) {
        if (byteAt(file, at) != 0xFF) {
            return false; // not a marker: the decoder judges the damage
        }
        const unsigned marker = byteAt(file, at + 1);
        at += 2;
        if (marker == 0xFF) {
            at -= 1; // fill byte
            continue;
        }
        if (marker == 0xD9) {
            return false;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue;
        }
        if (at + 2 > file.size()) {
            return true;
        }
        at += bigEndian16(file, at);
        if (marker != 0xDA) {
            continue;
        }
        for (;; ++at) {
            const auto* found = static_cast<const char*>(
                at < file.size() ? std::memchr(file.data() + at, 0xFF, file.size() - at) : nullptr);
            if (!found || found + 1 >= file.data() + file.size()) {
                return true;
            }
            at = found - file.data();
            const unsigned next = byteAt(file, at + 1);
            if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) {
                break;
            }
        }
    }
    return true;
}

// The blocks up to the end of the first image's data, the one the decoder reads.
bool PictureCompleteness::gifEndsEarly(QByteArrayView file) {
    constexpr qsizetype ScreenDescriptorEnd = 13;
    if (file.size() < ScreenDescriptorEnd) {
        return true;
    }
    const auto colourTable = [&](unsigned flags) -> qsizetype {
        return (flags & 0x80) ? 3 * (qsizetype{2} << (flags & 7)) : 0;
    };
    qsizetype at = ScreenDescriptorEnd + colourTable(byteAt(file, 10));
    while (at < file.size()) {
        const unsigned block = byteAt(file, at);
        if (block == 0x21) {
            at = at + 2 < file.size() ? skipSubBlocks(file, at + 2) : -1;
        } else if (block == 0x2C) {
            constexpr qsizetype DescriptorLength = 10;
            if (at + DescriptorLength >= file.size()) {
                return true;
            }
            // past the descriptor, its colour table and the code size byte
            const qsizetype data = at + DescriptorLength + colourTable(byteAt(file, at + 9)) + 1;
            return data > file.size() || skipSubBlocks(file, data) < 0;
        } else {
            return false; // the trailer or something unknown: the decoder judges
        }
        if (at < 0) {
            return true;
        }
    }
    return true;
}

// The header's offset to the pixels plus the rows the header promises.
bool PictureCompleteness::bmpEndsEarly(QByteArrayView file) {
    constexpr qsizetype CoreHeaderEnd = 26;
    constexpr qsizetype InfoHeaderEnd = 54;
    if (file.size() < CoreHeaderEnd) {
        return true;
    }
    const std::uint32_t headerSize = littleEndian32(file, 14);
    const bool core = headerSize == 12;
    if (!core && file.size() < InfoHeaderEnd) {
        return true;
    }
    const std::int64_t width =
        core ? littleEndian16(file, 18) : static_cast<std::int32_t>(littleEndian32(file, 18));
    const std::int64_t height =
        core ? littleEndian16(file, 20)
             : std::abs(std::int64_t{static_cast<std::int32_t>(littleEndian32(file, 22))});
    const std::int64_t bitCount = littleEndian16(file, core ? 24 : 28);
    const std::uint32_t compression = core ? 0 : littleEndian32(file, 30);
    const std::int64_t pixelOffset = littleEndian32(file, 10);
    std::int64_t pixelBytes = 0;
    if (compression == 0 || compression == 3 || compression == 6) {
        pixelBytes = (width * bitCount + 31) / 32 * 4 * height;
    } else if (compression == 1 || compression == 2) {
        pixelBytes = littleEndian32(file, 34); // run-length: the stored size, when given
    } else {
        return false;
    }
    return width > 0 && pixelOffset + pixelBytes > file.size();
}
