#pragma once

#include <QString>
#include <functional>

// Plays a WAV file named relative to the working directory, asynchronously:
// the call returns at once, a new request ends the one in progress, and a
// missing or unplayable file is silent.
void playSound(const QString &relativePath);

// Replaces the player for the rest of the process (tests record requests);
// an empty function restores the player.
void setSoundSink(std::function<void(const QString &)> sink);
