#include "windows/SoundPlayer.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>

namespace {

std::function<void(const QString &)> &sink()
{
    static std::function<void(const QString &)> function;
    return function;
}

// The recording last requested, as the request named it, and whether it is
// sounding; `replacing` while a new request stops the one in progress.
struct Request
{
    QString path;
    bool sounding = false;
    bool replacing = false;
};

Request &request()
{
    static Request current;
    return current;
}

// The recording stopped sounding: played out, or cut short.
void endSounding(bool complete)
{
    Request &current = request();
    current.sounding = false;
    emit soundEvents().ended(current.path, complete);
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
            Request &current = request();
            if (effect->isPlaying() && !current.sounding) {
                current.sounding = true;
                emit soundEvents().started(current.path);
            } else if (!effect->isPlaying() && current.sounding) {
                endSounding(!current.replacing && effect->status() != QSoundEffect::Error);
            }
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
            if (effect->status() != QSoundEffect::Error)
                return;
            if (request().sounding)
                endSounding(false);
            else
                emit soundEvents().failed(request().path);
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
    Request &current = request();
    current.replacing = true;
    player.stop(); // reports the end of the one in progress under its own name
    if (current.sounding)
        endSounding(false);
    current = {relativePath, false, false};
    player.setSource(soundSource(relativePath));
    if (QMediaDevices::audioOutputs().isEmpty())
        return emit soundEvents().failed(relativePath);
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
