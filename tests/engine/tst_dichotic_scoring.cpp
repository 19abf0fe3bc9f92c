#include "engine/DichoticScoring.h"
#include "engine/DichoticWords.h"
#include "engine/Regional.h"
#include "support/EngineSupport.h"

#include <QSet>
#include <QTest>

namespace {

const QString discrepancy = QStringLiteral("есть расхождение между сериями");
const QString agreement = QStringLiteral("расхождения нет");
const QString noRecall = QStringLiteral("дихотическое прослушивание пройдено неправильно");

// 104 empty answers with the given recording's eight fields filled from the front.
QStringList seriesWith(int recording, const QStringList &fields)
{
    QStringList answers(recordingCount * fieldsPerRecording);
    for (int k = 0; k < fields.size(); ++k)
        answers[(recording - 1) * fieldsPerRecording + k] = fields[k];
    return answers;
}

// Every word of both channels typed into its own recording, in the written form.
QStringList everyWord()
{
    QStringList answers;
    for (const RecordingWords &recording : dichoticWords()) {
        for (const StimulusWord &word : recording.channelA)
            answers << word.written;
        for (const StimulusWord &word : recording.channelB)
            answers << word.written;
    }
    return answers;
}

} // namespace

// The word tables and the scoring of recalled words, counts and coefficients.
class DichoticScoringTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::useRussianSettings(); }

    void wordTablesHoldFourDistinctWordsPerChannel()
    {
        QSet<QString> different;
        int doubleForms = 0;
        for (const RecordingWords &recording : dichoticWords()) {
            QSet<QString> own;
            for (const ChannelWords *channel : {&recording.channelA, &recording.channelB}) {
                for (const StimulusWord &word : *channel) {
                    QVERIFY2(word.written.size() >= 3 && word.written.size() <= 5, qPrintable(word.written));
                    QCOMPARE(word.written, word.written.toLower());
                    QVERIFY(!word.written.contains(u' '));
                    own << word.written;
                    different << word.written;
                    if (!word.alternative.isEmpty()) {
                        ++doubleForms;
                        QVERIFY(word.written.contains(u'ё'));
                        QCOMPARE(QString(word.written).replace(u'ё', u'е'), word.alternative);
                    }
                }
            }
            QCOMPARE(own.size(), 8); // the two lists of one recording share no word
        }
        QCOMPARE(different.size(), 98);
        QCOMPARE(doubleForms, 3);
    }

    void recordingScoreIsExactAndCountsEachWordOnce()
    {
        const QStringList fields = {u"свист"_qs, u"свист"_qs, u"трос"_qs, QString(),
                                    u"Хлеб"_qs,  u" клок"_qs, u"клоп"_qs, u"хлеб"_qs};
        QCOMPARE(recordingScore(fields, dichoticWords()[0].channelA), 2);
        QCOMPARE(recordingScore(fields, dichoticWords()[0].channelB), 1);
        const ChannelCounts counts = seriesScore(seriesWith(1, fields));
        QCOMPARE(counts.channelA, 2);
        QCOMPARE(counts.channelB, 1);
    }

    void trailingBlankOrMissingLetterScoresNothing()
    {
        const QStringList fields = {u"свист "_qs, u"сви"_qs, u"свистт"_qs, u"СВИСТ"_qs};
        QCOMPARE(recordingScore(fields, dichoticWords()[0].channelA), 0);
    }

    void bothFormsOfAWordAreAccepted_data()
    {
        QTest::addColumn<int>("recording");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("channelA");
        QTest::addColumn<int>("channelB");
        QTest::newRow("пёс") << 6 << QStringList{u"пёс"_qs} << 0 << 1;
        QTest::newRow("пес") << 6 << QStringList{u"пес"_qs} << 0 << 1;
        QTest::newRow("пёс and пес count once") << 6 << QStringList{u"пёс"_qs, u"пес"_qs} << 0 << 1;
        QTest::newRow("лен") << 10 << QStringList{u"лен"_qs} << 1 << 0;
        QTest::newRow("лён and лен count once") << 10 << QStringList{u"лен"_qs, u"лён"_qs, u"лен"_qs} << 1 << 0;
        QTest::newRow("мед in recording 11") << 11 << QStringList{u"мед"_qs} << 0 << 1;
        QTest::newRow("мед is not медь") << 5 << QStringList{u"мед"_qs, u"мёд"_qs} << 0 << 0;
        QTest::newRow("суп is channel B in 11") << 11 << QStringList{u"суп"_qs} << 0 << 1;
        QTest::newRow("суп is channel A in 4") << 4 << QStringList{u"суп"_qs} << 1 << 0;
        QTest::newRow("е only where listed") << 3 << QStringList{u"снёг"_qs} << 0 << 0;
    }

    void bothFormsOfAWordAreAccepted()
    {
        QFETCH(int, recording);
        QFETCH(QStringList, fields);
        QFETCH(int, channelA);
        QFETCH(int, channelB);
        const ChannelCounts counts = seriesScore(seriesWith(recording, fields));
        QCOMPARE(counts.channelA, channelA);
        QCOMPARE(counts.channelB, channelB);
    }

    void recordingsAreScoredIndependently()
    {
        QStringList answers = seriesWith(5, {u"лев"_qs});
        answers[12 * fieldsPerRecording + 7] = u"лев"_qs; // last field of recording 13
        QCOMPARE(seriesScore(answers).channelA, 2);

        // A word typed under the wrong recording counts nothing.
        QCOMPARE(seriesScore(seriesWith(2, {u"свист"_qs, u"крюк"_qs})).channelA, 0);
        QCOMPARE(seriesScore(seriesWith(2, {u"свист"_qs, u"крюк"_qs})).channelB, 0);
    }

    void fullRecallGivesFiftyTwoPerChannel()
    {
        QStringList answers = everyWord();
        QCOMPARE(seriesScore(answers).channelA, 52);
        QCOMPARE(seriesScore(answers).channelB, 52);
        // The other form of a word beside its written form adds nothing.
        answers[5 * fieldsPerRecording + 6] = u"пес"_qs; // recording 6, over "пир"
        answers[10 * fieldsPerRecording + 6] = u"мед"_qs; // recording 11, over "мёд"
        QCOMPARE(seriesScore(answers).channelB, 51);
        QCOMPARE(seriesScore({}).channelA, 0);
    }

    // Series 2 is heard with the headphones turned around: the same answers
    // give ear A the count of channel B.
    void seriesResultTurnsTheChannelsInSeriesTwo()
    {
        // Recording 1: "свист" and "рост" of channel A, "плеть" of channel B.
        const auto answers = seriesWith(1, {u"свист"_qs, u"рост"_qs, u"плеть"_qs});
        const SeriesResult first = seriesResult(1, answers);
        const SeriesResult second = seriesResult(2, answers);
        QCOMPARE(first.earA, 2);
        QCOMPARE(first.earB, 1);
        QCOMPARE(first.coef, 100.0 / 3);
        QCOMPARE(second.earA, 1);
        QCOMPARE(second.earB, 2);
        QCOMPARE(second.coef, -100.0 / 3);
    }

    void earCoefficient_data()
    {
        QTest::addColumn<int>("earA");
        QTest::addColumn<int>("earB");
        QTest::addColumn<double>("coefficient");
        QTest::newRow("nothing recalled") << 0 << 0 << 0.0;
        QTest::newRow("ear A") << 10 << 5 << 100.0 / 3;
        QTest::newRow("ear B") << 5 << 10 << -100.0 / 3;
        QTest::newRow("only ear A") << 7 << 0 << 100.0;
        QTest::newRow("only ear B") << 0 << 52 << -100.0;
        QTest::newRow("equal") << 9 << 9 << 0.0;
    }

    void earCoefficient()
    {
        QFETCH(int, earA);
        QFETCH(int, earB);
        QFETCH(double, coefficient);
        QCOMPARE(::earCoefficient(earA, earB), coefficient);
    }

    void overBothSeries_data()
    {
        QTest::addColumn<QList<int>>("counts"); // series 1 ear A, ear B, series 2 ear A, ear B
        QTest::addColumn<QString>("agreementText");
        QTest::addColumn<QString>("coefText");
        QTest::addColumn<QString>("advantage");
        QTest::newRow("nothing recalled") << QList<int>{0, 0, 0, 0} << agreement << noRecall << "0";
        QTest::newRow("opposite series") << QList<int>{10, 5, 5, 10} << discrepancy << "0" << "0";
        QTest::newRow("opposite the other way") << QList<int>{2, 6, 6, 2} << discrepancy << "0" << "0";
        QTest::newRow("zero never disagrees") << QList<int>{0, 0, 3, 1} << agreement << "50" << "1";
        QTest::newRow("pooled, not averaged") << QList<int>{10, 5, 8, 12} << discrepancy << "2,85714285714286"
                                              << "0";
        QTest::newRow("exactly 5") << QList<int>{21, 19, 0, 0} << agreement << "5" << "0";
        QTest::newRow("exactly -5") << QList<int>{10, 10, 9, 11} << agreement << "-5" << "0";
        QTest::newRow("just above 5") << QList<int>{30, 27, 0, 0} << agreement << "5,26315789473684" << "1";
        QTest::newRow("ear B ahead") << QList<int>{3, 9, 4, 8} << agreement << "-41,6666666666667" << "-1";
    }

    void overBothSeries()
    {
        QFETCH(QList<int>, counts);
        QFETCH(QString, agreementText);
        QFETCH(QString, coefText);
        QFETCH(QString, advantage);
        const double s1 = ::earCoefficient(counts[0], counts[1]);
        const double s2 = ::earCoefficient(counts[2], counts[3]);
        const BothSeriesResult result = ::overBothSeries(counts[0], counts[1], s1, counts[2], counts[3], s2);
        QCOMPARE(result.seriesAgreement, agreementText);
        QCOMPARE(result.totalCoefText, coefText);
        QCOMPARE(result.earAdvantage, advantage);
    }

    void totalCoefficientIsStoredUnrounded()
    {
        const BothSeriesResult pooled = ::overBothSeries(10, 5, 100.0 / 3, 8, 12, -20);
        QCOMPARE(pooled.totalCoef, 1.0 / 35 * 100);
        QCOMPARE(::overBothSeries(0, 0, 0, 0, 0, 0).totalCoef, 0.0);
    }

    void coefficientTextFollowsTheRegionalSeparator()
    {
        setRegional({QChar(u'.'), QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")});
        QCOMPARE(::overBothSeries(10, 5, 100.0 / 3, 8, 12, -20).totalCoefText, QStringLiteral("2.85714285714286"));
    }
};

QTEST_GUILESS_MAIN(DichoticScoringTest)
#include "tst_dichotic_scoring.moc"
