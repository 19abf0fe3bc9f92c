#include "windows/Pictures.h"

#include <QGuiApplication>
#include <QtGlobal>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void registerEachResource()
{
    Q_INIT_RESOURCE(handeye);
    Q_INIT_RESOURCE(math);
    Q_INIT_RESOURCE(raven);
}

// The pictures are compiled into the battery library; a static library must
// register them itself, once, before the first is read.
static void registerPictures()
{
    static const bool registered = (registerEachResource(), true);
    Q_UNUSED(registered);
}

QString doubleSizeName(const QString &resource)
{
    const qsizetype dot = resource.lastIndexOf(u'.');
    return dot < 0 ? resource + QStringLiteral("@2x") : resource.left(dot) + QStringLiteral("@2x") + resource.mid(dot);
}

QImage readWithQt(const QString &path)
{
    return QImage(path);
}

QImage pictureFor(const QString &resource, qreal devicePixelRatio, PictureReader read)
{
    registerPictures();
    if (devicePixelRatio <= 1)
        return read(resource);
    QImage large = read(doubleSizeName(resource));
    if (large.isNull())
        return read(resource);
    large.setDevicePixelRatio(2);
    if (qFuzzyCompare(devicePixelRatio, 2))
        return large;
    const QImage::Format format = large.format();
    const QSize pixels = (QSizeF(large.size()) / 2 * devicePixelRatio).toSize();
    QImage fitted = large.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(format);
    fitted.setDevicePixelRatio(devicePixelRatio);
    return fitted;
}

QImage pictureForScreens(const QString &resource, PictureReader read)
{
    return pictureFor(resource, qGuiApp->devicePixelRatio(), read);
}
