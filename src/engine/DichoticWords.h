#pragma once

#include <QString>
#include <array>

// One word of a recording. Three words are accepted in two written forms, with
// "ё" and with "е" in its place; the others leave `alternative` empty.
struct StimulusWord
{
    QString written;
    QString alternative;

    bool accepts(const QString &text) const
    {
        return !text.isEmpty() && (text == written || text == alternative);
    }
};

using ChannelWords = std::array<StimulusWord, 4>;

// The two lists of four words that one recording presents at once, one list
// on each stereo channel.
struct RecordingWords
{
    ChannelWords channelA;
    ChannelWords channelB;
};

constexpr int recordingCount = 13;
constexpr int fieldsPerRecording = 8;

// The thirteen recordings of both listening series, in recording order.
const std::array<RecordingWords, recordingCount> &dichoticWords();
