// Prints the word tables of the listening test, one word a line:
// "recording channel word", with the written form of each word.
#include "forms/DichoticWords.h"

#include <cstdio>

int main()
{
    for (int recording = 0; recording < recordingCount; ++recording) {
        const RecordingWords &words = dichoticWords()[recording];
        for (const StimulusWord &word : words.channelA)
            std::printf("%d A %s\n", recording + 1, word.written.toUtf8().constData());
        for (const StimulusWord &word : words.channelB)
            std::printf("%d B %s\n", recording + 1, word.written.toUtf8().constData());
    }
}
