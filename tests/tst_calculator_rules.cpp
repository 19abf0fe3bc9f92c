#include "core/Numbers.h"
#include "core/Regional.h"
#include "forms/CalculatorRules.h"
#include "support/TestSupport.h"

#include <QTest>
#include <clocale>
#include <limits>

namespace {

// The result text of an operation on two typed numbers, as the calculator shows it.
QString shown(Operation operation, const QString &a, const QString &b)
{
    const std::optional<double> result = operate(operation, parseReal(a).value(), parseReal(b).value());
    return result ? formatGeneral(*result) : QStringLiteral("(beyond a double)");
}

// Sets the C library's numeric locale to one with a decimal comma, as a Qt
// program gets it from the environment on a Russian system; restores "C".
class CommaNumericLocale
{
public:
    CommaNumericLocale()
    {
        for (const char *name : {"ru_RU.UTF-8", "ru_RU.utf8", "ru_RU", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',')
                return;
        }
        std::setlocale(LC_NUMERIC, "C");
    }
    ~CommaNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }
    bool active() const { return *std::localeconv()->decimal_point == ','; }
};

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

    void typedNumbersAtTheEdgesOfADouble_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("value");
        const double largest = std::numeric_limits<double>::max();
        QTest::newRow("largest") << "1,7976931348623157E308" << true << largest;
        QTest::newRow("just beyond") << "1,8E308" << false << 0.0;
        QTest::newRow("many whole digits") << QString(400, u'9') << false << 0.0;
        QTest::newRow("huge exponent") << "1E99999999999999999999" << false << 0.0;
        QTest::newRow("large digits, small exponent") << QString(400, u'9') + "E-380" << true << 1e20;
        QTest::newRow("tiny exponent") << "5E-99999999999999999999" << true << 0.0;
        QTest::newRow("negative tiny") << "-1E-400" << true << 0.0;
        QTest::newRow("many fraction zeros") << "0," + QString(400, u'0') + "1" << true << 0.0;
        QTest::newRow("fraction zeros, large exponent") << "0," + QString(400, u'0') + "1E420" << true << 1e19;
        QTest::newRow("zero, huge exponent") << "0E99999" << true << 0.0;
        QTest::newRow("subnormal") << "4,9E-324" << true << std::numeric_limits<double>::denorm_min();
    }

    void typedNumbersAtTheEdgesOfADouble()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(double, value);
        const std::optional<double> parsed = parseReal(text);
        QCOMPARE(parsed.has_value(), accepted);
        if (accepted)
            QCOMPARE(*parsed, value);
    }

    // A Qt program on Linux or macOS takes the C library's numeric locale from
    // the environment; reading and writing numbers must not depend on it.
    void numbersIgnoreTheCLibraryLocale()
    {
        CommaNumericLocale locale;
        if (!locale.active())
            QSKIP("no locale with a decimal comma is installed");
        QCOMPARE(parseReal(QStringLiteral("0,5")).value_or(-1), 0.5);
        QCOMPARE(parseReal(QStringLiteral("-1,25E2")).value_or(-1), -125.0);
        QCOMPARE(formatGeneral(1.75), QStringLiteral("1,75"));
        setRegional({QChar(u'.'), QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")});
        QCOMPARE(parseReal(QStringLiteral("0.5")).value_or(-1), 0.5);
        QVERIFY(!parseReal(QStringLiteral("0,5")));
        QCOMPARE(formatGeneral(-1.5e-7), QStringLiteral("-1.5E-7"));
    }

    // Each operation has one true rule per comparison; every other rule pressed
    // among its buttons, a true rule of another operation included, is wrong.
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
};

QTEST_APPLESS_MAIN(CalculatorRulesTest)
#include "tst_calculator_rules.moc"
