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

// One effect for the whole process: setting a new source on the same object
// replaces the sound in progress, where a second object would mix with it.
// The application owns it, under the name "soundPlayer".
QSoundEffect &effect()
{
    static QSoundEffect *player = [] {
        auto *effect = new QSoundEffect(QCoreApplication::instance());
        effect->setObjectName(QStringLiteral("soundPlayer"));
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
    player.stop();
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

void setSoundSink(std::function<void(const QString &)> function)
{
    sink() = std::move(function);
}
