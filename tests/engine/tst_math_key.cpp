#include "engine/MathKey.h"
#include "support/EngineSupport.h"

#include <QTest>

namespace {

MathAnswers allEmpty()
{
    MathAnswers answers;
    answers.fill(emptyAnswer);
    return answers;
}

} // namespace

class MathKeyTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::useRussianSettings(); }

    void computedKeys_data();
    void computedKeys();
    void answerConversion_data();
    void answerConversion();
    void sheetAndExpressionMakeSixteenAnswers();
    void emptyAnswersScoreNothing();
    void allRightScoresSixteen();
    void eachItemCountsInItsGroup();
    void signsOfTheNegativeKeysMatter();
    void answersAreComparedAsTyped();
};

void MathKeyTest::computedKeys_data()
{
    QTest::addColumn<int>("name");
    QTest::addColumn<int>("surname");
    QTest::addColumn<QList<double>>("keys"); // K3, K7, K10, K12, K15

    QTest::newRow("4 and 7") << 4 << 7 << QList<double>{5, 13, 3, 14, 22};
    QTest::newRow("2 and 3, a half rounds up") << 2 << 3 << QList<double>{22, 7, 1, 10, 24};
    QTest::newRow("1 and 1") << 1 << 1 << QList<double>{130, 3, 0, 2, 40};
}

void MathKeyTest::computedKeys()
{
    QFETCH(int, name);
    QFETCH(int, surname);
    QFETCH(QList<double>, keys);

    const MathAnswers key = mathKey(name, surname);
    QCOMPARE((QList<double>{key[2], key[6], key[9], key[11], key[14]}), keys);
    // The fixed keys do not move with the names.
    QCOMPARE((QList<double>{key[0], key[1], key[3], key[4], key[5], key[7], key[8], key[10], key[12], key[13],
                            key[15]}),
             (QList<double>{35, 10, 0, 863, -1, -2, 75, 280, 56, 990, 15}));
}

void MathKeyTest::answerConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<double>("value");

    QTest::newRow("empty") << "" << true << emptyAnswer;
    QTest::newRow("blanks around") << "  35 " << true << 35.0;
    QTest::newRow("two decimals") << "35,00" << true << 35.0;
    QTest::newRow("negative") << "-2" << true << -2.0;
    QTest::newRow("exponent") << "9,9e2" << true << 990.0;
    QTest::newRow("percent sign") << "35%" << false << 0.0;
    QTest::newRow("decimal point") << "4.5" << false << 0.0;
    QTest::newRow("letters") << "пять" << false << 0.0;
    QTest::newRow("blanks only") << "   " << false << 0.0;
}

void MathKeyTest::answerConversion()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(double, value);

    const std::optional<double> answer = mathAnswer(text);
    QCOMPARE(answer.has_value(), converts);
    if (converts)
        QCOMPARE(*answer, value);
}

void MathKeyTest::sheetAndExpressionMakeSixteenAnswers()
{
    QStringList sheet(15);
    sheet[0] = QStringLiteral("35,00");
    sheet[13] = QStringLiteral("-2");
    const std::optional<MathAnswers> answers = mathAnswers(sheet, 15);
    QVERIFY(answers);
    QCOMPARE((*answers)[0], 35.0);
    QCOMPARE((*answers)[1], emptyAnswer);
    QCOMPARE((*answers)[13], -2.0);
    QCOMPARE((*answers)[14], emptyAnswer);
    QCOMPARE((*answers)[15], 15.0); // the expression item comes last

    sheet[7] = QStringLiteral("пять");
    QVERIFY(!mathAnswers(sheet, 15));
}

void MathKeyTest::emptyAnswersScoreNothing()
{
    const MathScore score = scoreMath(allEmpty(), 4, 7);
    QCOMPARE(score.total, 0);
    QCOMPARE(score.expressions, 0);
    QCOMPARE(score.problems, 0);
}

void MathKeyTest::allRightScoresSixteen()
{
    const MathScore score = scoreMath(mathKey(2, 3), 2, 3);
    QCOMPARE(score.total, 16);
    QCOMPARE(score.expressions, 8);
    QCOMPARE(score.problems, 8);

    // The keys of other names are wrong for these.
    QVERIFY(scoreMath(mathKey(4, 7), 2, 3).total < 16);
}

void MathKeyTest::eachItemCountsInItsGroup()
{
    const MathAnswers key = mathKey(4, 7);
    for (int index = 0; index < mathItemCount; ++index) {
        MathAnswers answers = allEmpty();
        answers[index] = key[index];
        const MathScore score = scoreMath(answers, 4, 7);
        const bool expression = index % 2 == 1; // items 2, 4, ..., 14 and the expression item
        QCOMPARE(score.total, 1);
        QCOMPARE(score.expressions, expression ? 1 : 0);
        QCOMPARE(score.problems, expression ? 0 : 1);
    }
}

void MathKeyTest::signsOfTheNegativeKeysMatter()
{
    MathAnswers answers = allEmpty();
    answers[5] = -1;
    answers[7] = -2;
    QCOMPARE(scoreMath(answers, 4, 7).expressions, 2);

    answers[5] = 1;
    answers[7] = 2;
    QCOMPARE(scoreMath(answers, 4, 7).total, 0);
}

void MathKeyTest::answersAreComparedAsTyped()
{
    // An unrounded answer misses a rounded key: K3 for 4 and 7 is 5, exactly 4,658...
    MathAnswers answers = allEmpty();
    answers[2] = *mathAnswer(QStringLiteral("4,66"));
    answers[0] = *mathAnswer(QStringLiteral("35,00"));
    answers[15] = 15.0000001;
    const MathScore score = scoreMath(answers, 4, 7);
    QCOMPARE(score.total, 1);
    QCOMPARE(score.problems, 1);
}

QTEST_APPLESS_MAIN(MathKeyTest)
#include "tst_math_key.moc"
