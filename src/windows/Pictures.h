#pragma once

#include <QImage>
#include <QString>

// The program's own pictures, compiled into the battery library. Each is
// stored as NAME.ext and, drawn at twice the size, as NAME@2x.ext; the name
// of that larger one.
QString doubleSizeName(const QString &resource);

// How a stored picture is read: QImage's own readers, or the JPEG decoder.
using PictureReader = QImage (*)(const QString &path);
QImage readWithQt(const QString &path);

// The picture at resource for a display of the given device pixel ratio,
// taking up the room of the plain picture: at ratio 1 the plain picture;
// above it the twice-as-large one, resized smoothly to the display's pixels
// when the ratio is not 2, and marked with the ratio. Reading and registering
// the pictures first. A null image when neither can be read.
QImage pictureFor(const QString &resource, qreal devicePixelRatio, PictureReader read = readWithQt);

// The same for the highest device pixel ratio among the screens, so that the
// picture stays sharp on whichever screen the window goes to.
QImage pictureForScreens(const QString &resource, PictureReader read = readWithQt);
