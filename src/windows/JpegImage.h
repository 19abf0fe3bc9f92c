#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a JPEG held in memory into a greyscale image (colour pictures are
// reduced to their luminance). A damaged, truncated or unsupported picture
// gives a null image; it never ends the program.
QImage decodeJpeg(const QByteArray &bytes);

// The picture stored at a resource or file path, decoded as above; a null
// image when it cannot be read.
QImage loadJpeg(const QString &path);
