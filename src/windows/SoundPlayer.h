#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

// Plays a recording such as "sound/3.wav", asynchronously: the call returns at
// once and a new request ends the one in progress. What becomes of a request
// is told by soundEvents().
void playSound(const QString &relativePath);

// Where a recording comes from: the file of that name in the working
// directory when there is one, so that a study can swap recordings without a
// rebuild; else the one built into the program (":/sound/3.wav").
QUrl soundSource(const QString &relativePath);

// Replaces the player for the rest of the process (tests play the player's
// part, soundEvents() included); an empty function restores the player.
void setSoundSink(std::function<void(const QString &)> sink);

// What becomes of a request: it starts sounding, or it cannot sound at all
// (no output device, the device refuses, the file cannot be played); a
// recording that started ends, played to its end (complete) or cut short by
// a new request or the device lost.
class SoundEvents : public QObject
{
    Q_OBJECT
signals:
    void started(const QString &relativePath);
    void failed(const QString &relativePath);
    void ended(const QString &relativePath, bool complete);
};
SoundEvents &soundEvents();
