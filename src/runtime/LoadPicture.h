#pragma once
// LoadPicture: decodes a picture file through Qt's image readers. An empty path gives an empty
// picture; a file that cannot be decoded raises a runtime error naming the file and the reason.

#include "DotsPerInch.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

// Pictures above this many pixels are refused before any pixel memory is taken.
constexpr qint64 LargestPicturePixels = 150'000'000;

QImage LoadPicture(const QString& path);

// A decoded picture with the resolution its file states in its header (PictureHeader).
struct DecodedPicture {
    QImage picture;
    std::optional<DotsPerInch> statedDotsPerInch{};
};

// LoadPicture with the stated resolution, read in the same pass over the header.
DecodedPicture decodePictureFile(const QString& path);

// A picture file opened by the system's bytes for its name, without waiting (a FIFO would wait for a
// writer) and refused at once unless it is a regular file.
class PictureFile {
public:
    // Raises a runtime error naming the file and the system's reason when it cannot be read.
    explicit PictureFile(const QByteArray& path);

    std::uint64_t device() const { return device_; }
    std::uint64_t inode() const { return inode_; }
    // The name as messages show it.
    const QString& name() const { return name_; }
    // Decodes as LoadPicture does.
    DecodedPicture decode();

private:
    QString name_;
    QFile file_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

// The decoding behind LoadPicture, over bytes held in memory: a jpg, gif, bmp, png or ico picture
// (the first frame of an animation, the largest size of an icon), transparent parts on white, as
// Format_RGB32. Errors name the picture by nameForMessages. largestPixels lowers the size limit
// (the fuzz target keeps its runs small with it).
QImage decodePicture(const QByteArray& bytes, const QString& nameForMessages,
                     qint64 largestPixels = LargestPicturePixels);
