#pragma once
// The resolution a picture file states in its header: a png's pHYs chunk in pixels per metre, a
// jpg's JFIF density in dots per inch or per centimetre, a bmp's pixels per metre. Qt's own reading
// cannot tell a stated resolution from its default, so the header bytes are read here.

#include <QIODevice>
#include <QString>

#include <optional>

// Dots per inch along x (where x and y differ, the horizontal one). Empty where the file states none:
// another type, no pHYs chunk before the pixels, a density of zero or a JFIF aspect ratio only.
// Reads from the start of data and puts the position back.
std::optional<double> statedDotsPerInch(QIODevice& data);
std::optional<double> statedDotsPerInch(const QString& path);
