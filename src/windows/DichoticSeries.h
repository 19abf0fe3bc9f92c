#pragma once

#include "engine/DichoticWords.h"
#include "windows/Form.h"

#include <QStringList>
#include <array>

class QLineEdit;
class QPushButton;

// Whether a series offers the headphone check above its first recording.
enum class HeadphoneCheck { Offered, NotOffered };

// What the two listening series share: the subject label, thirteen play
// buttons each with its eight answer fields, and the forward button. A
// recording counts as played once its button is disabled; it never comes
// back once the recording has started sounding. One that cannot sound gives
// its button back and asks the subject to check the headphones.
class DichoticSeries : public Form
{
    Q_OBJECT
public:
    QLineEdit *Edit105;                                                    // subject
    std::array<QPushButton *, recordingCount> playButtons;                // Button1 .. Button13
    std::array<QLineEdit *, recordingCount * fieldsPerRecording> answers; // Edit1 .. Edit104
    QPushButton *Button14;                                                 // forward

protected:
    // Series 1 or 2. An empty instruction leaves the instruction label out.
    DichoticSeries(Session &session, int series, const QString &caption, const QString &instruction,
                   HeadphoneCheck headphoneCheck, const QString &forwardCaption, QWidget *owner);

    // The forward handler of the series.
    virtual void Button14Click() = 0;

    bool allPlayed() const;
    QStringList answerTexts() const;

private:
    // Button1Click .. Button13Click: plays recording N once.
    void playButtonClick(int recording);

    void addHeadphoneCheck();
    void addRecording(int recording);

    // What the player tells of a request of this window.
    void soundStarted(QString path); // by value: a request may change what the signal named
    void soundFailed(QString path);
    void soundEnded(QString path, bool complete);
    // The recording's id in this series: "dichotic1-03" for "sound/3.wav".
    QString recordingItemOf(const QString &path) const;

    const int series;
    QPushButton *check = nullptr; // the headphone check, where offered
    QString requested;            // the recording or check requested last, until it sounds or fails
    QString recordingPlaying;     // the numbered recording sounding, if any
};
