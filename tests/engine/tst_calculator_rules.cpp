#include "engine/CalculatorRules.h"
#include "engine/Numbers.h"
#include "engine/Regional.h"
#include "support/EngineSupport.h"

#include <QTest>

namespace {

// The result text of an operation on two typed numbers, as the calculator shows it.
QString shown(Operation operation, const QString &a, const QString &b)
{
    const std::optional<double> result = operate(operation, parseReal(a).value(), parseReal(b).value());
    return result ? formatGeneral(*result) : QStringLiteral("(beyond a double)");
}

} // namespace

// The hidden operations, the number texts they read and show, and the
// verdicts on the rules the subject names.
class CalculatorRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::useRussianSettings(); }

    void operationsFollowTheirRules_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("lasm");
        QTest::addColumn<QString>("vadl");
        QTest::addColumn<QString>("parm");
        QTest::newRow("8 and 27") << "8" << "27" << "-19" << "36" << "35";
        QTest::newRow("123 and 123") << "123" << "123" << "246" << "0" << "247";
        QTest::newRow("100 and 12") << "100" << "12" << "113" << "112" << "88";
        QTest::newRow("236 and 250") << "236" << "250" << "-14" << "487" << "486";
        QTest::newRow("fractions") << "0,5" << "0,25" << "1,75" << "0,75" << "0,25";
        QTest::newRow("negative") << "-3" << "2" << "-5" << "0" << "-1";
        QTest::newRow("equal written differently") << "5" << "5,0" << "10" << "0" << "11";
        QTest::newRow("lone separator is 0") << "," << "1" << "-1" << "2" << "1";
        QTest::newRow("12E is 12") << "12E" << "12" << "24" << "0" << "25";
        QTest::newRow("tiny difference") << "1" << "1,0000000000001" << "-9,99200722162641E-14" << "3,0000000000001"
                                         << "2,0000000000001";
        QTest::newRow("exponent results") << "1E20" << "1" << "1E20" << "1E20" << "1E20";
    }

    void operationsFollowTheirRules()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, lasm);
        QFETCH(QString, vadl);
        QFETCH(QString, parm);
        QCOMPARE(shown(Operation::Lasm, a, b), lasm);
        QCOMPARE(shown(Operation::Vadl, a, b), vadl);
        QCOMPARE(shown(Operation::Parm, a, b), parm);
    }

    void comparisonIsExact()
    {
        // 0.1 + 0.2 is not 0.3 as a double, though both print as 0,3.
        QCOMPARE(compare(0.1 + 0.2, 0.3), Comparison::Greater);
        QCOMPARE(compare(-0.0, 0.0), Comparison::Equal);
        QCOMPARE(compare(-1, 1), Comparison::Less);
    }

    void resultsBeyondADoubleAreNotNumbers()
    {
        const double largest = std::numeric_limits<double>::max();
        QVERIFY(!operate(Operation::Lasm, largest, largest));  // A + B
        QVERIFY(!operate(Operation::Parm, largest, -largest)); // A - B
        QVERIFY(!operate(Operation::Lasm, -largest, largest)); // A - B, below the range
        QCOMPARE(operate(Operation::Vadl, largest, largest).value_or(-1), 0.0);  // A - B
        QCOMPARE(operate(Operation::Lasm, largest, -largest).value_or(-1), 1.0); // A + B + 1
        QCOMPARE(operate(Operation::Lasm, largest, 0).value_or(-1), largest);
    }

    void eachRuleSetsItsFlag()
    {
        struct Expected
        {
            Operation operation;
            Comparison comparison;
            Expression expression;
            int RuleFlags::*flag;
        };
        const Expected expected[] = {
            {Operation::Lasm, Comparison::Less, Expression::Difference, &RuleFlags::LessPicked},
            {Operation::Lasm, Comparison::Equal, Expression::Sum, &RuleFlags::EqualPicked},
            {Operation::Lasm, Comparison::Greater, Expression::SumPlusOne, &RuleFlags::GreaterPicked},
            {Operation::Vadl, Comparison::Less, Expression::SumPlusOne, &RuleFlags::LessPicked},
            {Operation::Vadl, Comparison::Equal, Expression::Difference, &RuleFlags::EqualPicked},
            {Operation::Vadl, Comparison::Greater, Expression::Sum, &RuleFlags::GreaterPicked},
            {Operation::Parm, Comparison::Less, Expression::Sum, &RuleFlags::LessPicked},
            {Operation::Parm, Comparison::Equal, Expression::SumPlusOne, &RuleFlags::EqualPicked},
            {Operation::Parm, Comparison::Greater, Expression::Difference, &RuleFlags::GreaterPicked},
        };
        for (const Operation operation : {Operation::Lasm, Operation::Vadl, Operation::Parm}) {
            for (const Comparison comparison : {Comparison::Less, Comparison::Equal, Comparison::Greater}) {
                for (const Expression expression : {Expression::Sum, Expression::SumPlusOne, Expression::Difference,
                                                    Expression::ReverseDifference}) {
                    int RuleFlags::*want = &RuleFlags::WrongPicked;
                    for (const Expected &e : expected) {
                        if (e.operation == operation && e.comparison == comparison && e.expression == expression)
                            want = e.flag;
                    }
                    RuleFlags flags;
                    QCOMPARE(&flagOf(flags, operation, comparison, expression), &(flags.*want));
                }
            }
        }
    }

    void verdicts()
    {
        QCOMPARE(ruleVerdict({1, 1, 1, 0}), QStringLiteral("1"));
        QCOMPARE(ruleVerdict({1, 1, 1, 1}), QStringLiteral("-1"));
        QCOMPARE(ruleVerdict({1, 1, 0, 0}), QStringLiteral("-1"));
        QCOMPARE(ruleVerdict({0, 1, 1, 0}), QStringLiteral("-1"));
        QCOMPARE(ruleVerdict({}), QStringLiteral("-1"));
    }

    void correctCountCountsTheIdentifiedOperations()
    {
        QCOMPARE(correctCount({"1", "1", "1"}), 3);
        QCOMPARE(correctCount({"1", "-1", "1"}), 2);
        QCOMPARE(correctCount({"-1", "-1", "-1"}), 0);
    }
};

QTEST_APPLESS_MAIN(CalculatorRulesTest)
#include "tst_calculator_rules.moc"
