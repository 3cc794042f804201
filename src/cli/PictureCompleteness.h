#pragma once
// Whether a picture file stops before its picture data ends. Qt's readers decode a cut JPEG, GIF or
// BMP file without an error, making up what is missing; a batch run must not export such a picture.
// (Cut PNG and ICO files already fail to decode.)

#include <QByteArrayView>
#include <QString>

class PictureCompleteness {
public:
    // True when the bytes are a JPEG, GIF or BMP file whose structure ends early; false for a
    // complete file and for anything else, which is left to the decoder to judge.
    static bool endsEarly(QByteArrayView file);
    // The same for the file at `path`; a file that cannot be read is left to the decoder.
    static bool fileEndsEarly(const QString& path);

private:
    static bool jpegEndsEarly(QByteArrayView file);
    static bool gifEndsEarly(QByteArrayView file);
    static bool bmpEndsEarly(QByteArrayView file);
};
