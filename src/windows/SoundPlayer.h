#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

// Plays a recording such as "sound/3.wav", asynchronously: the call returns at
// once, a new request ends the one in progress, and a missing or unplayable
// recording is silent.
void playSound(const QString &relativePath);

// Where a recording comes from: the file of that name in the working
// directory when there is one, so that a study can swap recordings without a
// rebuild; else the one built into the program (":/sound/3.wav").
QUrl soundSource(const QString &relativePath);

// Replaces the player for the rest of the process (tests record requests);
// an empty function restores the player.
void setSoundSink(std::function<void(const QString &)> sink);

// Tells when a recording stops sounding: played to its end, ended by a new
// request, or found unplayable.
class SoundEvents : public QObject
{
    Q_OBJECT
signals:
    void ended(const QString &relativePath);
};
SoundEvents &soundEvents();
