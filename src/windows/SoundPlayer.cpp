#include "windows/SoundPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>

namespace {

std::function<void(const QString &)> &sink()
{
    static std::function<void(const QString &)> function;
    return function;
}

// The recording last requested, as the request named it.
QString &requested()
{
    static QString path;
    return path;
}

// One effect for the whole process: setting a new source on the same object
// replaces the sound in progress, where a second object would mix with it.
// The application owns it, under the name "soundPlayer".
QSoundEffect &effect()
{
    static QSoundEffect *player = [] {
        auto *effect = new QSoundEffect(QCoreApplication::instance());
        effect->setObjectName(QStringLiteral("soundPlayer"));
        QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
            if (!effect->isPlaying())
                emit soundEvents().ended(requested());
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
            if (effect->status() == QSoundEffect::Error)
                emit soundEvents().ended(requested());
        });
        return effect;
    }();
    return *player;
}

} // namespace

void playSound(const QString &relativePath)
{
    if (sink())
        return sink()(relativePath);
    QSoundEffect &player = effect();
    player.stop(); // reports the end of the one in progress under its own name
    requested() = relativePath;
    player.setSource(soundSource(relativePath));
    player.play();
}

QUrl soundSource(const QString &relativePath)
{
    const QFileInfo local(QDir::current(), relativePath);
    if (local.isFile())
        return QUrl::fromLocalFile(local.absoluteFilePath());
    return QUrl(QStringLiteral("qrc:/") + relativePath);
}

SoundEvents &soundEvents()
{
    static SoundEvents events;
    return events;
}

void setSoundSink(std::function<void(const QString &)> function)
{
    sink() = std::move(function);
}
