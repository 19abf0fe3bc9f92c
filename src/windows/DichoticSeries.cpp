#include "windows/DichoticSeries.h"

#include "engine/ItemIds.h"
#include "engine/ItemLog.h"
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

} // namespace

DichoticSeries::DichoticSeries(int series, const QString &caption, const QString &instruction,
                               HeadphoneCheck headphoneCheck, const QString &forwardCaption, QWidget *owner)
    : Form(caption, owner)
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
    itemLog().shown(task::dichotic); // the forward step shows the window at once
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
    connect(check, &QPushButton::clicked, this, [] { playSound(QStringLiteral("sound/headphones.wav")); });
    connect(&soundEvents(), &SoundEvents::ended, this, [this](const QString &path) {
        if (path != recordingPlaying)
            return;
        recordingPlaying.clear();
        check->setEnabled(true);
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
        QLineEdit *field = makeField(QStringLiteral("Edit%1").arg(number),
                                     QStringLiteral("Запись №%1, слово %2").arg(recording).arg(k + 1),
                                     Width::answerField);
        answers[number - 1] = field;
        connect(field, &QLineEdit::textEdited, this, [this, recording, k](const QString &text) {
            itemLog().changed(dichoticFieldItem(series, recording, k + 1), text);
        });
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

void DichoticSeries::playButtonClick(int recording)
{
    playButtons[recording - 1]->setEnabled(false);
    const QString path = QStringLiteral("sound/%1.wav").arg(recording);
    itemLog().presented(dichoticRecordingItem(series, recording));
    playSound(path);
    // After the request: the end of what it replaced is no end of this one.
    recordingPlaying = path;
    if (check)
        check->setEnabled(false);
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
