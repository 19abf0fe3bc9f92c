#include "engine/ItemLog.h"
#include "engine/ItemRows.h"
#include "engine/ResultsFile.h"
#include "forms/Unit10.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "support/WindowSupport.h"
#include "windows/Messages.h"
#include "windows/SoundPlayer.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPushButton>
#include <QTest>

namespace {

QLineEdit *field(DichoticSeries &w, int recording, int k)
{
    return w.answers[(recording - 1) * fieldsPerRecording + k - 1];
}

void playAll(DichoticSeries &w)
{
    for (QPushButton *button : w.playButtons)
        test::click(button);
}

// Types the given words into the first fields of a recording.
void typeWords(DichoticSeries &w, int recording, const QStringList &words)
{
    for (int k = 0; k < words.size(); ++k)
        test::typeText(field(w, recording, k + 1), words[k]);
}

QPoint placeOf(const QWidget *widget)
{
    return widget->mapTo(widget->window(), QPoint(0, 0));
}

} // namespace

// The two dichotic listening windows: playing, the forward checks, the stores
// of both series and the step between them.
class Form56Test : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
        test::record().InfoSurname = QStringLiteral("Петров");
        test::record().InfoName = QStringLiteral("Иван");
    }

    void seriesOneShowsInstructionThirteenRecordingsAndForward()
    {
        TForm5 w(test::session());
        QCOMPARE(w.windowTitle(), QStringLiteral("Дихотическое прослушивание. Серия №1"));
        const auto *instruction = w.findChild<QLabel *>(QStringLiteral("Label5"));
        QVERIFY(instruction);
        QVERIFY(instruction->text().startsWith(QStringLiteral("Наденьте наушники. Нажимайте на кнопки \"Прослушать №...\"")));
        QVERIFY(instruction->text().endsWith(QStringLiteral("только строчными (маленькими) буквами.")));
        QCOMPARE(w.findChild<QPushButton *>(QStringLiteral("Button14"))->text(), QStringLiteral("Дальше"));
        for (int n = 1; n <= recordingCount; ++n) {
            auto *button = w.findChild<QPushButton *>(QStringLiteral("Button%1").arg(n));
            QVERIFY(button);
            QCOMPARE(button->text(), QStringLiteral("Прослушать №%1").arg(n));
        }
        for (int n = 1; n <= 104; ++n) {
            auto *edit = w.findChild<QLineEdit *>(QStringLiteral("Edit%1").arg(n));
            QVERIFY(edit);
            QVERIFY(edit->text().isEmpty());
            QVERIFY(!edit->accessibleName().isEmpty());
            QVERIFY(!edit->isReadOnly());
        }
    }

    void seriesTwoHasNoInstruction()
    {
        TForm6 w(test::session());
        QCOMPARE(w.windowTitle(), QStringLiteral("Дихотическое прослушивание. Серия №2"));
        QVERIFY(!w.findChild<QLabel *>(QStringLiteral("Label5")));
        QCOMPARE(w.Button14->text(), QStringLiteral("Далее"));
    }

    void eachRecordingHasItsEightFieldsInTwoRowsBelowItsButton()
    {
        TForm5 w(test::session());
        w.present();
        for (int n = 1; n <= recordingCount; ++n) {
            const QPoint button = placeOf(w.playButtons[n - 1]);
            for (int k = 1; k <= 4; ++k) {
                const QPoint upper = placeOf(field(w, n, k));
                const QPoint lower = placeOf(field(w, n, k + 4));
                QVERIFY(upper.y() > button.y());
                QVERIFY(lower.y() > upper.y());
                QCOMPARE(lower.x(), upper.x());
                if (k > 1)
                    QVERIFY(upper.x() > placeOf(field(w, n, k - 1)).x());
            }
            if (n < recordingCount)
                QVERIFY(placeOf(w.playButtons[n]).y() > placeOf(field(w, n, 8)).y());
        }
        QVERIFY(placeOf(w.Button14).y() > placeOf(field(w, recordingCount, 8)).y());
    }

    void eachPlayButtonPlaysItsOwnFileOnce()
    {
        test::SoundLog sounds;
        TForm5 w(test::session());
        w.present();
        for (int n = 1; n <= recordingCount; ++n) {
            test::click(w.playButtons[n - 1]);
            QVERIFY(!w.playButtons[n - 1]->isEnabled());
            test::click(w.playButtons[n - 1]); // a disabled button does nothing
        }
        QStringList expected;
        for (int n = 1; n <= recordingCount; ++n)
            expected << QStringLiteral("sound/%1.wav").arg(n);
        QCOMPARE(sounds.paths, expected);
    }

    // A numbered recording is never cut short by the check: the check waits
    // until the recording has ended; a recording ends the check.
    void theHeadphoneCheckWaitsForARecordingAndGivesWayToOne()
    {
        test::SoundLog sounds;
        TForm5 w(test::session());
        w.present();
        auto *check = w.findChild<QPushButton *>(QStringLiteral("ButtonHeadphones"));
        for (const int recording : {3, 2}) {
            test::click(check);
            test::click(w.playButtons[recording - 1]); // ends the check
            QCOMPARE(sounds.paths.last(), QStringLiteral("sound/%1.wav").arg(recording));
            QVERIFY(!check->isEnabled());
            sounds.finish();
            QVERIFY(check->isEnabled());
        }
    }

    // Above the first recording, as often as the subject likes; it is no
    // listening: the recordings still wait, and the record stays as it was.
    void theHeadphoneCheckPlaysAsOftenAsWantedAndCountsForNothing()
    {
        test::SoundLog sounds;
        test::MessageLog messages;
        TForm5 w(test::session());
        w.present();
        auto *check = w.findChild<QPushButton *>(QStringLiteral("ButtonHeadphones"));
        QVERIFY(check);
        QCOMPARE(check->text(), QStringLiteral("Проверить наушники"));
        QVERIFY(placeOf(check).y() < placeOf(w.playButtons[0]).y());
        QVERIFY(check->width() >= check->sizeHint().width());

        const auto linesBefore = resultsLines(test::record());
        for (int i = 0; i < 3; ++i)
            test::click(check);
        QCOMPARE(sounds.paths, QStringList(3, QStringLiteral("sound/headphones.wav")));
        QVERIFY(check->isEnabled());
        QCOMPARE(resultsLines(test::record()), linesBefore);

        test::click(w.Button14);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Прослушаны не все аудиозаписи!")});
        for (QPushButton *play : w.playButtons)
            QVERIFY(play->isEnabled());

        TForm6 second(test::session()); // the turned headphones need no second check
        const auto buttons = second.findChildren<QPushButton *>();
        QVERIFY(std::none_of(buttons.begin(), buttons.end(),
                             [check](const QPushButton *b) { return b->text() == check->text(); }));
    }

    // Through the real player: a recording that cannot sound is not spent;
    // the subject is told at once to check the headphones, and the check
    // stays usable.
    void aRecordingThatCannotSoundIsNotSpent_data()
    {
        QTest::addColumn<QByteArray>("recording"); // sound/1.wav in the working directory; empty: none
        QTest::newRow("no output device") << QByteArray();
        QTest::newRow("unplayable file") << QByteArray(4096, 'x');
    }

    void aRecordingThatCannotSoundIsNotSpent()
    {
        QFETCH(QByteArray, recording);
        if (recording.isEmpty() && !QMediaDevices::audioOutputs().isEmpty())
            QSKIP("this computer has a sound output device");
        test::WorkingDirectory dir;
        if (!recording.isEmpty()) {
            QDir().mkpath(QStringLiteral("sound"));
            QFile file(QStringLiteral("sound/1.wav"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(recording) == recording.size());
        }
        test::MessageLog messages;
        TForm5 w(test::session());
        w.present();
        auto *check = w.findChild<QPushButton *>(QStringLiteral("ButtonHeadphones"));
        test::click(w.playButtons[0]);
        QTRY_COMPARE(messages.texts.size(), 1);
        QVERIFY2(messages.texts[0].contains(QStringLiteral("наушники")), qPrintable(messages.texts[0]));
        QVERIFY(w.playButtons[0]->isEnabled());
        QVERIFY(check->isEnabled());
    }

    // A recording that started sounding stays spent, cut short or not; its
    // words and fields are timed from the moment it started sounding.
    void aRecordingIsSpentAndTimedWhenItSounds()
    {
        test::FixedClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0, 0)));
        test::SoundLog sounds;
        sounds.outcome = test::SoundLog::Waits;
        TForm5 w(test::session());
        w.present();
        test::click(w.playButtons[0]);
        clock.advance(2);
        sounds.start();
        clock.advance(4);
        typeWords(w, 1, {QStringLiteral("свист")});
        test::click(w.playButtons[1]); // cuts the first short
        QVERIFY(!w.playButtons[0]->isEnabled());
        const QList<ItemRow> rows = itemRows(test::items(), test::record());
        const auto recalled = std::find_if(rows.begin(), rows.end(), [](const ItemRow &row) {
            return row.task == QStringLiteral("dichotic") && row.response == QStringLiteral("свист");
        });
        QVERIFY(recalled != rows.end());
        QCOMPARE(recalled->onset, std::optional<qint64>(2000));
        QCOMPARE(recalled->responseTime, std::optional<qint64>(4000));
    }

    void forwardIsRefusedUntilEveryRecordingIsPlayed()
    {
        test::SoundLog sounds;
        test::MessageLog messages;
        auto *w = test::makeWindow<TForm5>();
        w->present();
        typeWords(*w, 1, {u"свист"_qs, u"крюк"_qs});
        typeWords(*w, 13, {u"дом"_qs});
        for (int n = 1; n < recordingCount; ++n)
            test::click(w->playButtons[n - 1]);
        test::click(w->Button14);

        QCOMPARE(messages.texts, QStringList{QStringLiteral("Прослушаны не все аудиозаписи!")});
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm6>);
        QCOMPARE(test::record().DichS1EarA, 0);
        QCOMPARE(test::record().DichS1EarB, 0);
        QCOMPARE(field(*w, 1, 1)->text(), QStringLiteral("свист"));
        QCOMPARE(field(*w, 1, 2)->text(), QStringLiteral("крюк"));
        QCOMPARE(field(*w, 13, 1)->text(), QStringLiteral("дом"));
        QVERIFY(w->playButtons[recordingCount - 1]->isEnabled());

        // The last recording played, the same press is accepted with the words kept.
        test::click(w->playButtons[recordingCount - 1]);
        test::click(w->Button14);
        QCOMPARE(test::record().DichS1EarA, 2);
        QCOMPARE(test::record().DichS1EarB, 1);
        QCOMPARE(test::record().DichS1Coef, 100.0 / 3);
    }

    void seriesOneAsksToTurnTheHeadphonesAndOpensAFreshSeriesTwo()
    {
        test::SoundLog sounds;
        auto *w = test::makeWindow<TForm5>();
        w->present();
        bool seriesTwoExisted = true;
        bool seriesOneVisible = false;
        QStringList shown;
        setMessageSink([&](const QString &text) {
            shown << text;
            seriesTwoExisted = !currentInstance<TForm6>.isNull();
            seriesOneVisible = w->isVisible();
        });
        typeWords(*w, 2, {u"свет"_qs, u"хрен"_qs, u"брат"_qs});
        playAll(*w);
        test::click(w->Button14);
        setMessageSink({});

        QCOMPARE(shown, QStringList{QStringLiteral("Переверните наушники!")});
        QVERIFY(!seriesTwoExisted);
        QVERIFY(seriesOneVisible);
        QVERIFY(!w->isVisible());
        TForm6 *next = currentInstance<TForm6>;
        QVERIFY(next);
        QVERIFY(next->isVisible());
        QCOMPARE(next->Edit105->text(), QStringLiteral("Петров Иван"));
        QVERIFY(next->Edit105->isReadOnly());
        for (QPushButton *button : next->playButtons)
            QVERIFY(button->isEnabled());
        for (QLineEdit *edit : next->answers)
            QVERIFY(edit->text().isEmpty());
        QCOMPARE(test::record().DichS1EarA, 2);
        QCOMPARE(test::record().DichS1EarB, 1);
        QCOMPARE(test::record().DichS1Coef, 100.0 / 3);
    }

    void bothSeriesReachTheResultsFile()
    {
        test::SoundLog sounds;
        test::MessageLog messages;
        test::WorkingDirectory directory;
        auto *first = test::makeWindow<TForm5>();
        first->present();
        typeWords(*first, 1, {u"свист"_qs, u"рост"_qs, u"свист"_qs, u"плеть"_qs}); // A 2, B 1
        typeWords(*first, 6, {u"пень"_qs, u"пух"_qs});                             // A 2
        playAll(*first);
        test::click(first->Button14);

        TForm6 *second = currentInstance<TForm6>;
        QVERIFY(second);
        typeWords(*second, 6, {u"пес"_qs});             // channel B: ear A now
        typeWords(*second, 13, {u"пень"_qs, u"лев"_qs}); // channel A: ear B now
        playAll(*second);
        test::click(second->Button14);

        QCOMPARE(messages.texts, QStringList{QStringLiteral("Переверните наушники!")});
        QVERIFY(!second->isVisible());
        QVERIFY(currentInstance<TForm10>);
        QVERIFY(currentInstance<TForm10>->isVisible());

        const QString name = writeResultsFile(test::record()).path;
        const QStringList lines = test::resultsFileLines(name);
        QCOMPARE(lines.size(), resultsLineCount);
        const QStringList expected = {
            u"25"_qs,                             // (4 + 1) - (1 + 2) of 8
            u"есть расхождение между сериями"_qs, // 60 against -33,3
            u"1"_qs,
            u"4"_qs, u"1"_qs, u"1"_qs, u"2"_qs,
            u"60"_qs, u"-33,3333333333333"_qs,
        };
        QCOMPARE(lines.mid(37, 9), expected);
    }

    void seriesTwoRefusesUntilEveryRecordingIsPlayed()
    {
        test::SoundLog sounds;
        test::MessageLog messages;
        auto *w = test::makeWindow<TForm6>();
        w->present();
        test::typeText(field(*w, 4, 3), QStringLiteral("рог"));
        for (int n = 2; n <= recordingCount; ++n)
            test::click(w->playButtons[n - 1]);
        test::click(w->Button14);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Прослушаны не все аудиозаписи!")});
        QCOMPARE(test::record().DichSeriesAgreement, QString());
        QCOMPARE(field(*w, 4, 3)->text(), QStringLiteral("рог"));
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm10>);
    }
};

QTEST_MAIN(Form56Test)
#include "tst_form5_6.moc"
