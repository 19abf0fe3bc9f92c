#include "windows/SoundPlayer.h"

#include <QDir>
#include <QSoundEffect>
#include <QUrl>

namespace {

std::function<void(const QString &)> &sink()
{
    static std::function<void(const QString &)> function;
    return function;
}

// One effect for the whole process: setting a new source on the same object
// replaces the sound in progress, where a second object would mix with it.
QSoundEffect &effect()
{
    static QSoundEffect *player = new QSoundEffect;
    return *player;
}

} // namespace

void playSound(const QString &relativePath)
{
    if (sink())
        return sink()(relativePath);
    QSoundEffect &player = effect();
    player.stop();
    player.setSource(QUrl::fromLocalFile(QDir::current().absoluteFilePath(relativePath)));
    player.play();
}

void setSoundSink(std::function<void(const QString &)> function)
{
    sink() = std::move(function);
}
