#include "windows/DichoticSeries.h"

#include "engine/ItemIds.h"
#include "engine/ItemLog.h"
#include "windows/Messages.h"
#include "windows/SoundPlayer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int fieldsPerRow = 4;
constexpr int blockIndent = 16;

const QString headphonesRecording = QStringLiteral("sound/headphones.wav");

// 3 for "sound/3.wav", as playButtonClick names the recordings.
int recordingNumberOf(const QString &path)
{
    return QStringView(path).sliced(6).chopped(4).toInt();
}

} // namespace

DichoticSeries::DichoticSeries(Session &session, int series, const QString &caption, const QString &instruction,
                               HeadphoneCheck headphoneCheck, const QString &forwardCaption, QWidget *owner)
    : Form(session, caption, owner)
    , series(series)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    body()->addSpacing(12);
    if (!instruction.isEmpty()) {
        QLabel *label = makeLabel(QStringLiteral("Label5"), instruction);
        label->setAlignment(Qt::AlignCenter);
        label->setMaximumWidth(Width::listeningInstructions);
        auto *row = new QHBoxLayout;
        row->addSpacing(blockIndent);
        row->addWidget(label);
        row->addStretch();
        body()->addLayout(row);
        body()->addSpacing(12);
    }

    if (headphoneCheck == HeadphoneCheck::Offered)
        addHeadphoneCheck();
    for (int recording = 1; recording <= recordingCount; ++recording)
        addRecording(recording);

    Button14 = forwardButton(QStringLiteral("Button14"), forwardCaption, [this] { Button14Click(); });
    Button14->setFixedWidth(Width::playButton);
    auto *row = new QHBoxLayout;
    // Right of the answer fields, as the last step under the last recording.
    row->addSpacing(blockIndent + fieldsPerRow * Width::answerField + 16);
    row->addWidget(Button14);
    row->addStretch();
    body()->addLayout(row);
    body()->addStretch();
    setItemTask(task::dichotic);
    connect(&soundEvents(), &SoundEvents::started, this, &DichoticSeries::soundStarted);
    connect(&soundEvents(), &SoundEvents::failed, this, &DichoticSeries::soundFailed);
    connect(&soundEvents(), &SoundEvents::ended, this, &DichoticSeries::soundEnded);
}

// A recording that says which ear each channel reaches, played as often as
// the subject likes, so that the headphones go on the right way round. It is
// no listening and changes nothing in the run. It is unavailable while a
// numbered recording plays, which it would cut short.
void DichoticSeries::addHeadphoneCheck()
{
    check = new QPushButton(QStringLiteral("Проверить наушники"));
    check->setObjectName(QStringLiteral("ButtonHeadphones"));
    check->setMinimumWidth(Width::playButton);
    check->setToolTip(QStringLiteral("Слова «левое ухо» должны звучать слева, «правое ухо» — справа"));
    auto *row = new QHBoxLayout;
    row->addSpacing(blockIndent);
    row->addWidget(check);
    row->addStretch();
    body()->addLayout(row);
    body()->addSpacing(10);
    connect(check, &QPushButton::clicked, this, [this] {
        requested = headphonesRecording;
        playSound(headphonesRecording);
    });
}

void DichoticSeries::addRecording(int recording)
{
    auto *block = new QVBoxLayout;
    block->setSpacing(2);
    QPushButton *play = new QPushButton(QStringLiteral("Прослушать №%1").arg(recording));
    play->setObjectName(QStringLiteral("Button%1").arg(recording));
    play->setFixedWidth(Width::playButton);
    playButtons[recording - 1] = play;
    block->addWidget(play, 0, Qt::AlignLeft);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(0);
    for (int k = 0; k < fieldsPerRecording; ++k) {
        const int number = (recording - 1) * fieldsPerRecording + k + 1;
        // A field is presented with its recording's sound.
        QLineEdit *field = makeField(QStringLiteral("Edit%1").arg(number),
                                     QStringLiteral("Запись №%1, слово %2").arg(recording).arg(k + 1),
                                     Width::answerField,
                                     {dichoticFieldItem(series, recording, k + 1), {}, {}, false});
        answers[number - 1] = field;
        connect(field, &QLineEdit::editingFinished, this, &Form::progressed);
        grid->addWidget(field, k / fieldsPerRow, k % fieldsPerRow);
    }
    block->addLayout(grid);

    auto *row = new QHBoxLayout;
    row->addSpacing(blockIndent);
    row->addLayout(block);
    row->addStretch();
    body()->addLayout(row);
    body()->addSpacing(10);

    connect(play, &QPushButton::clicked, this, [this, recording] { playButtonClick(recording); });
}

// The button is spent only once the recording sounds: one that cannot sound
// gives it back.
void DichoticSeries::playButtonClick(int recording)
{
    playButtons[recording - 1]->setEnabled(false);
    requested = QStringLiteral("sound/%1.wav").arg(recording);
    playSound(requested);
    emit progressed(); // the recording is spent
}

QString DichoticSeries::recordingItemOf(const QString &path) const
{
    return dichoticRecordingItem(series, recordingNumberOf(path));
}

void DichoticSeries::soundStarted(QString path)
{
    if (path != requested)
        return;
    requested.clear();
    if (path == headphonesRecording)
        return itemLog().event(QStringLiteral("headphones-played"), path);
    // Its words and answer fields are presented from this moment.
    const QString item = recordingItemOf(path);
    itemLog().presented(item);
    itemLog().event(QStringLiteral("recording-started"), item);
    recordingPlaying = path;
    if (check)
        check->setEnabled(false);
}

void DichoticSeries::soundFailed(QString path)
{
    if (path != requested)
        return;
    requested.clear();
    if (path != headphonesRecording)
        playButtons[recordingNumberOf(path) - 1]->setEnabled(true);
    showMessage(QStringLiteral("Звук не воспроизводится. Проверьте, что наушники подключены, и нажмите кнопку "
                               "ещё раз."));
}

void DichoticSeries::soundEnded(QString path, bool complete)
{
    if (path != recordingPlaying)
        return;
    recordingPlaying.clear();
    itemLog().event(QStringLiteral("recording-ended"), recordingItemOf(path),
                    complete ? QStringLiteral("complete") : QStringLiteral("cut-short"));
    if (check)
        check->setEnabled(true);
}

bool DichoticSeries::allPlayed() const
{
    return std::none_of(playButtons.begin(), playButtons.end(), [](const QPushButton *b) { return b->isEnabled(); });
}

QStringList DichoticSeries::answerTexts() const
{
    QStringList texts;
    for (const QLineEdit *field : answers)
        texts << field->text();
    return texts;
}
