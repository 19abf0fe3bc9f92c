#include "engine/Cp1251.h"
#include "engine/DateTime.h"
#include "engine/Failure.h"
#include "engine/FieldChecks.h"
#include "engine/Numbers.h"
#include "engine/Regional.h"
#include "engine/SiblingRows.h"
#include "support/EngineSupport.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <bit>
#include <clocale>
#ifndef Q_OS_WIN
#include <iconv.h>
#endif
#include <cmath>
#include <limits>

namespace {

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

// Regional formats, numbers, dates and the character set of the results file.
class ConversionsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::useRussianSettings(); }

    void generalFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 16.0 << "16";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("negative fraction") << -12.5 << "-12,5";
        QTest::newRow("whole negative") << -24.0 << "-24";
        QTest::newRow("fifteen digits") << 1.0 / 3 << "0,333333333333333";
        QTest::newRow("rounded to fifteen") << 0.1 + 0.2 << "0,3";
        QTest::newRow("smallest plain") << 0.0001 << "0,0001";
        QTest::newRow("below 0.0001") << 0.00001 << "1E-5";
        QTest::newRow("exponent mantissa") << -0.000015 << "-1,5E-5";
        QTest::newRow("fifteen whole digits") << 999999999999999.0 << "999999999999999";
        QTest::newRow("sixteen whole digits") << 1e15 << "1E15";
        QTest::newRow("large exponent") << 2.5e300 << "2,5E300";
        QTest::newRow("largest double") << std::numeric_limits<double>::max() << "1,79769313486232E308";
        QTest::newRow("lowest double") << std::numeric_limits<double>::lowest() << "-1,79769313486232E308";
    }

    void generalFormat()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatGeneral(value), text);
    }

    void generalFormatUsesTheRegionalSeparator()
    {
        setRegional({QChar(u'.'), QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")});
        QCOMPARE(formatGeneral(-12.5), QStringLiteral("-12.5"));
        QCOMPARE(formatGeneral(1.5e-7), QStringLiteral("1.5E-7"));
    }

    void typedReals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "12" << true << 12.0;
        QTest::newRow("blanks around") << "  -3,5  " << true << -3.5;
        QTest::newRow("plus sign") << "+7" << true << 7.0;
        QTest::newRow("lone separator") << "," << true << 0.0;
        QTest::newRow("sign and separator") << "-," << true << 0.0;
        QTest::newRow("separator first") << ",25" << true << 0.25;
        QTest::newRow("exponent") << "1,5E3" << true << 1500.0;
        QTest::newRow("small e, signed") << "25e-2" << true << 0.25;
        QTest::newRow("exponent without digits") << "12E" << true << 12.0;
        QTest::newRow("exponent sign only") << "12e-" << true << 12.0;
        QTest::newRow("beyond a double underflows") << "1E-400" << true << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks only") << "   " << false << 0.0;
        QTest::newRow("lone minus") << "-" << false << 0.0;
        QTest::newRow("point under comma settings") << "1.5" << false << 0.0;
        QTest::newRow("two separators") << "1,2,3" << false << 0.0;
        QTest::newRow("letter") << "12a" << false << 0.0;
        QTest::newRow("exponent alone") << "E5" << false << 0.0;
        QTest::newRow("two signs") << "--1" << false << 0.0;
        QTest::newRow("inner blank") << "1 2" << false << 0.0;
        QTest::newRow("beyond a double") << "1E400" << false << 0.0;
        QTest::newRow("tab") << "\t1" << false << 0.0;
        // At the edges of a double
        const double largest = std::numeric_limits<double>::max();
        QTest::newRow("largest") << "1,7976931348623157E308" << true << largest;
        QTest::newRow("largest as written") << "1,79769313486232E308" << true << largest;
        QTest::newRow("lowest as written") << "-1,79769313486232e308" << true << -largest;
        QTest::newRow("beyond the largest as written") << "1,797693134862321E308" << false << 0.0;
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

    void typedReals()
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

    void typedIntegers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "2004" << true << 2004;
        QTest::newRow("leading blanks") << "  5" << true << 5;
        QTest::newRow("leading zeros") << "05" << true << 5;
        QTest::newRow("negative") << "-12" << true << -12;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("too large") << "2147483648" << false << 0;
        QTest::newRow("far too large") << "99999999999999999999" << false << 0;
        QTest::newRow("trailing blank") << "5 " << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("fraction") << "5,0" << false << 0;
        QTest::newRow("letters") << "май" << false << 0;
    }

    void typedIntegers()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(int, value);
        const std::optional<int> parsed = parseInteger(text);
        QCOMPARE(parsed.has_value(), accepted);
        if (accepted)
            QCOMPARE(*parsed, value);
    }

    void roundingHalvesUp()
    {
        QCOMPARE(roundHalfUp(5474 / 365.0), 15.0);
        QCOMPARE(roundHalfUp(2.5), 3.0);
        QCOMPARE(roundHalfUp(0.0), 0.0);
    }

    // Whole days from the birth date to the start moment, and years of 365
    // days rounded half up.
    void ageAtTheStart_data()
    {
        QTest::addColumn<QDate>("birth");
        QTest::addColumn<int>("days");
        QTest::addColumn<double>("years");
        QTest::newRow("sixteen") << QDate(2004, 5, 15) << 5861 << 16.0;
        QTest::newRow("just under a half") << QDate(2004, 12, 5) << 5657 << 15.0;
        QTest::newRow("just over a half") << QDate(2004, 12, 4) << 5658 << 16.0;
        QTest::newRow("120 years to the day") << QDate(1900, 6, 1) << 43830 << 120.0;
        QTest::newRow("born that morning") << QDate(2020, 6, 1) << 0 << 0.0;
        QTest::newRow("born days later") << QDate(2020, 6, 5) << 3 << 0.0; // never negative
    }

    void ageAtTheStart()
    {
        QFETCH(QDate, birth);
        QFETCH(int, days);
        QFETCH(double, years);
        const double start = toDateTime(QDateTime(QDate(2020, 6, 1), QTime(10, 0)));
        const Age age = ageAt(start, toDateTime(QDateTime(birth, QTime(0, 0))));
        QCOMPARE(age.days, days);
        QCOMPARE(age.years, years);
    }

    void dateTimesCountDaysFromTheEndOf1899()
    {
        QCOMPARE(toDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
        QCOMPARE(toDateTime(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
        const QDateTime moment(QDate(2026, 12, 7), QTime(10, 0, 0));
        QCOMPARE(fromDateTime(toDateTime(moment)), moment);
    }

    void timeTextsUseTheRegionalFormats()
    {
        const QDateTime start(QDate(2026, 3, 9), QTime(10, 0, 0));
        const double at = toDateTime(start);
        QCOMPARE(timeText(at), QStringLiteral("10:00:00"));
        QCOMPARE(dateText(at), QStringLiteral("09.03.2026"));
        QCOMPARE(durationText(toDateTime(start.addSecs(85 * 60 + 30)) - at), QStringLiteral("1:25:30"));
        // Whole days are dropped.
        QCOMPARE(durationText(toDateTime(start.addSecs(25 * 3600)) - at), QStringLiteral("1:00:00"));
    }

    // Times of day follow the locale without its time zone and only in
    // characters that Windows-1251 holds; durations never follow it.
    void regionalTimeFormats_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("afternoon");
        QTest::addColumn<QString>("morning");
        QTest::newRow("no regional settings") << "C" << "14:07:45" << "2:07:45";
        QTest::newRow("ru_RU") << "ru_RU" << "14:07:45" << "2:07:45";
        QTest::newRow("be_BY") << "be_BY" << "14:07:45" << "02:07:45";
        QTest::newRow("uk_UA") << "uk_UA" << "14:07:45" << "02:07:45";
        QTest::newRow("en_US") << "en_US" << "2:07:45 PM" << "2:07:45 AM";
        QTest::newRow("es_ES") << "es_ES" << "14:07:45" << "2:07:45";
        QTest::newRow("ja_JP") << "ja_JP" << "14:07:45" << "2:07:45";
        QTest::newRow("zone first, zh_CN") << "zh_CN" << "14:07:45" << "02:07:45";
        QTest::newRow("literal text kept, bg_BG") << "bg_BG" << "14:07:45 ч." << "2:07:45 ч.";
    }

    void regionalTimeFormats()
    {
        QFETCH(QString, locale);
        QFETCH(QString, afternoon);
        QFETCH(QString, morning);
        setRegional(regionalSettingsOf(QLocale(locale)));
        const double day = toDateTime(QDateTime(QDate(2026, 3, 9), QTime(0, 0)));
        QCOMPARE(timeText(day + (14 * 3600 + 7 * 60 + 45) / 86400.0), afternoon);
        QCOMPARE(timeText(day + (2 * 3600 + 7 * 60 + 45) / 86400.0), morning);
        QCOMPARE(durationText((7 * 60 + 45) / 86400.0), QStringLiteral("0:07:45"));
    }

    void birthDates()
    {
        test::FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));
        QCOMPARE(parseDayMonthYear(QStringLiteral("30.12.1899")), 0.0);
        QCOMPARE(parseDayMonthYear(QStringLiteral("1.1.1900")), 2.0);
        QVERIFY(parseDayMonthYear(QStringLiteral("29.02.2000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("31.02.2000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("29.02.2001")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("1.13.2000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("0.1.2000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("1.1.0000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("1..2000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("1.1.2000.5")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("a.1.2000")));
        // Day, month and year are each a typed integer: blanks before the
        // digits, none after them.
        QVERIFY(parseDayMonthYear(QStringLiteral(" 1. 1. 2000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("1.1.2000 ")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("1 .1.2000")));
        QVERIFY(!parseDayMonthYear(QStringLiteral("1.1 .2000")));
        // Two-digit years fall within the last hundred years.
        QCOMPARE(parseDayMonthYear(QStringLiteral("1.1.05")), parseDayMonthYear(QStringLiteral("1.1.2005")));
        QCOMPARE(parseDayMonthYear(QStringLiteral("1.1.98")), parseDayMonthYear(QStringLiteral("1.1.1998")));
        // A birth date lies neither after today nor more than 120 years back.
        const double today = now();
        QVERIFY(parseBirthDate(QStringLiteral("7.12.2026"), today));
        QVERIFY(!parseBirthDate(QStringLiteral("8.12.2026"), today));
        QVERIFY(parseBirthDate(QStringLiteral("7.12.1906"), today));
        QVERIFY(!parseBirthDate(QStringLiteral("6.12.1906"), today));
        QCOMPARE(yearOf(valueOf(parseBirthDate(QStringLiteral("1.1.05"), today))), 2005);
    }

    // Day, month and year as the subject types them, for the subject's own
    // birth date and a sibling's alike: digits only, blanks before them and
    // none after, at most two for a day or month and four for a year. The
    // collector also reads what earlier batteries let through: blanks of any
    // kind around a part, and a sign or more digits before one.
    void datesAsTyped_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<bool>("battery");
        QTest::addColumn<bool>("collector");
        QTest::addColumn<QDate>("date");
        const QDate may15(2004, 5, 15);
        QTest::newRow("plain") << "15" << "05" << "2004" << true << true << may15;
        QTest::newRow("blanks before") << " 1" << " 1" << " 2000" << true << true << QDate(2000, 1, 1);
        QTest::newRow("two-digit year") << "15" << "05" << "04" << true << true << may15;
        QTest::newRow("blank after the year") << "15" << "05" << "2004 " << false << true << may15;
        QTest::newRow("blank after the day") << "15 " << "05" << "2004" << false << true << may15;
        QTest::newRow("tab before the year") << "15" << "05" << "\t2004" << false << true << may15;
        QTest::newRow("plus before the day") << "+1" << "05" << "2004" << false << true << QDate(2004, 5, 1);
        QTest::newRow("plus before the month") << "15" << "+05" << "2004" << false << true << may15;
        QTest::newRow("minus zero year") << "1" << "2" << "-0" << false << true << QDate(2000, 2, 1);
        QTest::newRow("plus two-digit year") << "1" << "2" << "+04" << false << true << QDate(2004, 2, 1);
        QTest::newRow("blanks and signs") << " +4" << " +5" << " +04" << false << true << QDate(2004, 5, 4);
        QTest::newRow("five-digit day") << "00001" << "05" << "2004" << false << true << QDate(2004, 5, 1);
        QTest::newRow("three-digit day") << "001" << "05" << "2004" << false << true << QDate(2004, 5, 1);
        QTest::newRow("five-digit year") << "15" << "05" << "02004" << false << false << QDate();
        QTest::newRow("negative year") << "15" << "05" << "-04" << false << false << QDate();
        QTest::newRow("negative day") << "-1" << "05" << "2004" << false << false << QDate();
        QTest::newRow("blank after a sign") << "- 1" << "05" << "2004" << false << false << QDate();
        QTest::newRow("blank inside") << "15" << "05" << "20 04" << false << false << QDate();
        QTest::newRow("other digits") << "\uFF11\uFF15" << "05" << "2004" << false << false << QDate();
        QTest::newRow("a word") << "15" << "май" << "2004" << false << false << QDate();
    }

    void datesAsTyped()
    {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(bool, battery);
        QFETCH(bool, collector);
        QFETCH(QDate, date);
        test::FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));
        const QString line = day + u'.' + month + u'.' + year;
        const std::optional<double> read = date.isValid() ? std::optional(double(QDate(1899, 12, 30).daysTo(date))) : std::nullopt;
        QVERIFY(parseDayMonthYear(line) == (battery ? read : std::nullopt));
        QVERIFY(parseWrittenDate(line) == (collector ? read : std::nullopt));
        QCOMPARE(!fieldProblem(3, line), collector); // line 4, InfoBirthDate
        bool siblingTaken = true;
        try {
            summarizeSiblings({SiblingRow{SiblingSex::Brother, day, month, year}}, 2004, 5);
        } catch (const Failure &) {
            siblingTaken = false;
        }
        QCOMPARE(siblingTaken, battery);
    }

    // Every number the battery can write into a decimal line, over the whole
    // range of a double, is read back by the collector to what the text
    // says: within half a unit of its 15th significant digit, and written
    // again as the same text. Under a decimal comma and a decimal point.
    void collectorReadsEveryWrittenNumber()
    {
        QList<double> values; // every binary exponent, from the smallest subnormal to the largest double
        for (int exponent = -1074; exponent <= 1023; ++exponent)
            for (const double mantissa : {1.0, 1.2345678901234567, std::nextafter(2.0, 0.0), -std::nextafter(2.0, 0.0)})
                values << std::ldexp(mantissa, exponent);
        for (QRandomGenerator bits(33); values.size() < 100000;)
            if (const double value = std::bit_cast<double>(bits.generate64()); std::isfinite(value))
                values << value;
        for (const QChar separator : {QChar(u','), QChar(u'.')}) {
            setRegional({separator, QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss")});
            for (const double value : std::as_const(values)) {
                const QString text = formatGeneral(value);
                const std::optional<double> read = parseDecimal(text);
                QVERIFY2(read && std::fabs(*read - value) <= (0.5e-14 + std::numeric_limits<double>::epsilon()) * std::fabs(value)
                                    + std::numeric_limits<double>::denorm_min(),
                         qPrintable(text));
                QCOMPARE(formatGeneral(*read), text);
            }
        }
    }

    void windows1251MatchesIconv()
    {
#ifdef Q_OS_WIN
        QSKIP("mingw-w64 has no iconv");
#else
        iconv_t converter = iconv_open("UTF-8", "CP1251");
        QVERIFY(converter != iconv_t(-1));
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            char in = char(byte);
            char out[8] = {};
            char *inPtr = &in;
            char *outPtr = out;
            size_t inLeft = 1, outLeft = sizeof out;
            const bool known = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
            const QString decoded = fromCp1251(QByteArray(1, char(byte)));
            if (!known) {
                QCOMPARE(decoded, QString(QChar::ReplacementCharacter));
                continue;
            }
            QCOMPARE(decoded, QString::fromUtf8(out));
            QCOMPARE(toCp1251(decoded), QByteArray(1, char(byte)));
        }
        iconv_close(converter);
#endif
    }

    void unencodableCharactersBecomeQuestionMarks()
    {
        QCOMPARE(toCp1251(QStringLiteral("Ёж №5")), QByteArray("\xA8\xE6 \xB9\x35"));
        QCOMPARE(toCp1251(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
        QCOMPARE(toCp1251(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
        QVERIFY(encodableInCp1251(QStringLiteral("Иванов-Петров")));
        QVERIFY(!encodableInCp1251(QStringLiteral("Ω")));
    }
};

QTEST_GUILESS_MAIN(ConversionsTest)
#include "tst_conversions.moc"
