#include "engine/Failure.h"
#include "engine/ResultsFile.h"
#include "engine/SiblingRows.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace test;
using namespace Qt::StringLiterals;

namespace {

constexpr int female = 0;
constexpr int male = 1;

SiblingRow sister(const QString &day, const QString &month, const QString &year)
{
    return {SiblingSex::Sister, day, month, year};
}

SiblingRow brother(const QString &day, const QString &month, const QString &year)
{
    return {SiblingSex::Brother, day, month, year};
}

// The controls of one row of the siblings window, found by their names.
struct Row
{
    RadioGroup *sex;
    QLineEdit *day;
    QLineEdit *month;
    QLineEdit *year;
    QPushButton *cancel;
};

Row rowOf(const TForm2 *form, int n)
{
    const auto edit = [form](int number) { return form->findChild<QLineEdit *>(u"Edit"_s + QString::number(number)); };
    return {form->findChild<RadioGroup *>(u"RadioGroup"_s + QString::number(200 + n)), edit(199 + 3 * n),
            edit(200 + 3 * n), edit(201 + 3 * n), form->findChild<QPushButton *>(u"Button"_s + QString::number(n))};
}

// Chooses the sex of row n and types the date as the subject would.
void fillRow(const TForm2 *form, int n, int sexItem, const QString &day, const QString &month, const QString &year)
{
    const Row row = rowOf(form, n);
    clickItem(row.sex, sexItem);
    retype(row.day, day);
    retype(row.month, month);
    retype(row.year, year);
}

// The first window filled in for a subject born on 10.05.2004, with the
// siblings question answered "да" or "нет".
TForm1 *filledFirstWindow(bool hasSiblings)
{
    auto *form = test::makeWindow<TForm1>();
    form->present();
    typeText(form->Edit1, u"Иванова"_s);
    typeText(form->Edit2, u"Анна"_s);
    clickItem(form->RadioGroup2, 0);
    typeText(form->Edit3, u"Школа 5"_s);
    typeText(form->Edit4, u"9"_s);
    typeText(form->Edit5, u"10"_s);
    typeText(form->Edit6, u"5"_s);
    typeText(form->Edit7, u"2004"_s);
    clickItem(form->RadioGroup1, 0);
    clickItem(form->RadioGroup5, 1);
    clickItem(form->RadioGroup6, 1);
    clickItem(form->RadioGroup3, hasSiblings ? 0 : 1);
    clickItem(form->RadioGroup4, 1);
    return form;
}

QStringList siblingLines(const QStringList &file)
{
    return file.mid(16, 14);
}

} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT

private:
    // A siblings window opened as the first window opens it, for a subject born in May 2004.
    TForm2 *openWindow()
    {
        test::record().InfoSurname = u"Петров"_s;
        test::record().InfoName = u"Олег"_s;
        test::record().InfoBirthYear = 2004;
        test::record().InfoBirthMonth = 5;
        auto *form = test::makeWindow<TForm2>();
        form->present();
        return form;
    }

    void pressForward(TForm2 *form) { click(form->findChild<QPushButton *>(u"Button201"_s)); }

private slots:
    void initTestCase()
    {
        useRussianSettings();
    }

    void init()
    {
        resetRun();
    }

    void cleanupTestCase()
    {
        resetRun();
    }

    // Descriptions, byte for byte.

    void description_data()
    {
        QTest::addColumn<int>("sex");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("expected");
        const int none = int(SiblingSex::None), sis = int(SiblingSex::Sister), bro = int(SiblingSex::Brother);
        QTest::newRow("no sex") << none << u""_s << u""_s << u""_s << u""_s;
        QTest::newRow("sister, nothing else") << sis << u""_s << u""_s << u""_s << u"сестра"_s;
        QTest::newRow("full date") << bro << u"12"_s << u"5"_s << u"2001"_s
                                   << u"брат, день: 12, месяц: 5, год: 2001"_s;
        QTest::newRow("only the year") << sis << u""_s << u""_s << u"1999"_s
                                       << u"сестра, день: , месяц: , год: 1999"_s;
        QTest::newRow("year and month") << sis << u""_s << u"03"_s << u"1999"_s
                                        << u"сестра, день: , месяц: 03, год: 1999"_s;
        QTest::newRow("day and month without a year") << bro << u"3"_s << u"7"_s << u""_s << u"брат"_s;
        QTest::newRow("fields as typed, blanks kept") << bro << u" 1"_s << u"1 "_s << u" 2000"_s
                                                      << u"брат, день:  1, месяц: 1 , год:  2000"_s;
    }

    void description()
    {
        QFETCH(int, sex);
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QString, expected);
        QCOMPARE(siblingDescription({SiblingSex(sex), day, month, year}), expected);
    }

    // Birth order and counts.

    void birthOrderOfTheExample()
    {
        const SiblingRows rows = {brother(u""_s, u""_s, u"2002"_s), sister(u"1"_s, u"3"_s, u"2004"_s),
                                  sister(u"30"_s, u"5"_s, u"2004"_s), brother(u""_s, u""_s, u"2006"_s)};
        const SiblingSummary summary = summarizeSiblings(rows, 2004, 5);
        QCOMPARE(summary.birthOrder, 3);
        QCOMPARE(summary.sameMonthCount, 1);
        QCOMPARE(summary.withYearCount, 4);
        QCOMPARE(summary.withoutYearCount, 0);
        QCOMPARE(summary.descriptions[1], u"сестра, день: 1, месяц: 3, год: 2004"_s);
        QCOMPARE(summary.descriptions[4], QString());
    }

    void countsOfMixedRows()
    {
        SiblingRows rows;
        rows[0] = sister(u""_s, u""_s, u""_s);         // no year
        rows[2] = brother(u"5"_s, u"6"_s, u""_s);      // day and month ignored without a year
        rows[5] = brother(u""_s, u""_s, u"1999"_s);    // older
        rows[6] = sister(u""_s, u""_s, u"2010"_s);     // younger; the month is never read
        rows[9] = sister(u"1"_s, u"5"_s, u"2004"_s);   // same month, earlier day: still not older
        rows[8] = {SiblingSex::None, u""_s, u""_s, u"1990"_s}; // no sex: not a sibling
        const SiblingSummary summary = summarizeSiblings(rows, 2004, 5);
        QCOMPARE(summary.birthOrder, 2);
        QCOMPARE(summary.withYearCount, 3);
        QCOMPARE(summary.sameMonthCount, 1);
        QCOMPARE(summary.withoutYearCount, 2);
        QCOMPARE(summary.descriptions[2], u"брат"_s);
        QCOMPARE(summary.descriptions[8], QString());
    }

    void noRowFilled()
    {
        const SiblingSummary summary = summarizeSiblings(SiblingRows{}, 2004, 5);
        QCOMPARE(summary.birthOrder, 1);
        QCOMPARE(summary.withYearCount, 0);
        QCOMPARE(summary.sameMonthCount, 0);
        QCOMPARE(summary.withoutYearCount, 0);
        for (const QString &description : summary.descriptions)
            QVERIFY(description.isEmpty());
    }

    void refusedInputs_data()
    {
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::newRow("year not a number") << u"3"_s << u"20o2"_s;
        QTest::newRow("year of blanks") << u""_s << u" "_s;
        QTest::newRow("year beyond 32 bits") << u""_s << u"3000000000"_s;
        QTest::newRow("subject's year, empty month") << u""_s << u"2004"_s;
        QTest::newRow("subject's year in two digits, empty month") << u""_s << u"04"_s;
        QTest::newRow("subject's year, month not a number") << u"май"_s << u"2004"_s;
    }

    void refusedInputs()
    {
        QFETCH(QString, month);
        QFETCH(QString, year);
        SiblingRows rows;
        rows[3] = brother(u""_s, month, year);
        QVERIFY_THROWS_EXCEPTION(Failure, summarizeSiblings(rows, 2004, 5));
    }

    // Two-digit years are read as the subject's birth year is: within the
    // last hundred years; the descriptions keep them as typed.
    void twoDigitYearsCompareAsTheSubjectsYear()
    {
        test::FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));
        SiblingRows rows;
        rows[0] = sister(u""_s, u"5"_s, u"04"_s);  // the subject's month
        rows[1] = brother(u""_s, u""_s, u"06"_s);  // younger
        rows[2] = brother(u""_s, u"1"_s, u"99"_s); // 1999: older
        rows[3] = sister(u""_s, u""_s, u"30"_s);   // 1930: older
        const SiblingSummary summary = summarizeSiblings(rows, 2004, 5);
        QCOMPARE(summary.birthOrder, 3);
        QCOMPARE(summary.sameMonthCount, 1);
        QCOMPARE(summary.descriptions[0], u"сестра, день: , месяц: 5, год: 04"_s);
    }

    void monthComparedOnlyInTheSubjectsYear()
    {
        SiblingRows rows;
        rows[0] = brother(u""_s, u"12"_s, u"2003"_s); // a later month of an earlier year: older
        rows[1] = sister(u""_s, u"1"_s, u"2005"_s);   // an earlier month of a later year: younger
        const SiblingSummary summary = summarizeSiblings(rows, 2004, 5);
        QCOMPARE(summary.birthOrder, 2);
        QCOMPARE(summary.withYearCount, 2);
    }

    // The window.

    void layoutAndNames()
    {
        TForm2 *form = openWindow();
        QCOMPARE(form->windowTitle(), u"Братья, сёстры"_s);
        QCOMPARE(form->findChild<QLineEdit *>(u"Edit1"_s)->text(), QString()); // set by the forward step
        QCOMPARE(form->findChild<QLabel *>(u"Label201"_s)->text(),
                 u"Введите информацию о своих братьях и/или сёстрах"_s);
        QVERIFY(form->findChild<QLabel *>(u"Label201"_s)->font().bold());
        QCOMPARE(form->findChild<QLabel *>(u"Label202"_s)->text(),
                 u"(Если точная дата рождения неизвестна, введите только год и месяц или только год)"_s);
        QCOMPARE(form->findChild<QPushButton *>(u"Button201"_s)->text(), u"Дальше"_s);
        for (int n = 1; n <= 10; ++n) {
            const Row row = rowOf(form, n);
            QVERIFY2(row.sex && row.day && row.month && row.year && row.cancel, qPrintable(QString::number(n)));
            QCOMPARE(row.sex->itemIndex(), -1);
            QCOMPARE(row.sex->item(0)->text(), u"женский"_s);
            QCOMPARE(row.sex->item(1)->text(), u"мужской"_s);
            QCOMPARE(qobject_cast<QGroupBox *>(row.sex->parentWidget())->title(), u"Пол"_s);
            QCOMPARE(row.cancel->text(), u"Отменить выбор"_s);
            for (QLineEdit *edit : {row.day, row.month, row.year}) {
                QVERIFY(edit->isReadOnly());
                QVERIFY(edit->text().isEmpty());
                QVERIFY(edit->accessibleName().startsWith(QString::number(n) + u". Дата рождения: "_s));
            }
            QCOMPARE(row.sex->accessibleName(), QString::number(n) + u". Пол"_s);
        }
        QCOMPARE(form->findChild<QLabel *>(u"RowLabel10"_s)->text(), u"10."_s);
    }

    void choosingTheSexOpensTheDate()
    {
        TForm2 *form = openWindow();
        const Row row = rowOf(form, 4);
        typeText(row.year, u"2001"_s);
        QVERIFY(row.year->text().isEmpty()); // read-only until a sex is chosen

        clickItem(row.sex, female);
        QCOMPARE(test::record().SibDescription[3], u"сестра"_s);
        for (QLineEdit *edit : {row.day, row.month, row.year})
            QVERIFY(!edit->isReadOnly());
        clickItem(row.sex, male);
        QCOMPARE(test::record().SibDescription[3], u"брат"_s);
        QVERIFY(test::record().SibDescription[2].isEmpty());
        QVERIFY(test::record().SibDescription[4].isEmpty());
    }

    void cancelledRowContributesNothing()
    {
        MessageLog messages;
        TForm2 *form = openWindow();
        fillRow(form, 2, male, u"1"_s, u"2"_s, u"2000"_s);
        fillRow(form, 3, female, u""_s, u""_s, u"2008"_s);
        const Row row = rowOf(form, 2);
        click(row.cancel);
        QCOMPARE(row.sex->itemIndex(), -1);
        QVERIFY(test::record().SibDescription[1].isEmpty());
        for (QLineEdit *edit : {row.day, row.month, row.year}) {
            QVERIFY(edit->text().isEmpty());
            QVERIFY(edit->isReadOnly());
        }

        pressForward(form);
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(test::record().SibBirthOrder, 1);
        QCOMPARE(test::record().SibWithYearCount, 1);
        QCOMPARE(test::record().SibWithoutYearCount, 0);
        QVERIFY(test::record().SibDescription[1].isEmpty());
        QCOMPARE(test::record().SibDescription[2], u"сестра, день: , месяц: , год: 2008"_s);
    }

    // An unchosen row's date is drawn as unavailable and takes no typing.
    void anUnchosenRowsDateLooksUnavailable()
    {
        TForm2 *form = openWindow();
        const Row row = rowOf(form, 6);
        for (QLineEdit *edit : {row.day, row.month, row.year})
            QVERIFY(!edit->isEnabled());
        clickItem(row.sex, male);
        for (QLineEdit *edit : {row.day, row.month, row.year})
            QVERIFY(edit->isEnabled());
        QVERIFY(!rowOf(form, 7).year->isEnabled());
        click(row.cancel);
        for (QLineEdit *edit : {row.day, row.month, row.year})
            QVERIFY(!edit->isEnabled());
    }

    // A date part the results file cannot hold is named with its row and
    // part when pressing "Дальше"; the window stays.
    void aDateTheResultsFileCannotHoldIsReported()
    {
        MessageLog messages;
        TForm2 *form = openWindow();
        fillRow(form, 1, male, u""_s, u""_s, u"2002"_s);
        fillRow(form, 3, female, u"\u0661\u0665"_s, u""_s, u"2008"_s); // Arabic-Indic digits
        pressForward(form);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY2(messages.last().contains(u"3. Дата рождения: день"_s), qPrintable(messages.last()));
        QVERIFY(messages.last().contains(QChar(0x0661)));
        QVERIFY(form->isVisible());
        QCOMPARE(test::record().SibWindowPassed, 0);

        retype(rowOf(form, 3).day, u"15"_s);
        pressForward(form);
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(test::record().SibDescription[2], u"сестра, день: 15, месяц: , год: 2008"_s);
    }

    // A refused press leaves the window open; the corrected press counts
    // every row once, the rows before the faulty one included.
    void refusedThenCorrected()
    {
        MessageLog messages;
        TForm2 *form = openWindow();
        fillRow(form, 1, male, u""_s, u""_s, u"2002"_s);
        fillRow(form, 2, female, u"7"_s, u""_s, u"2004"_s);
        fillRow(form, 3, male, u""_s, u""_s, u""_s);

        pressForward(form);
        QCOMPARE(messages.texts, QStringList{u"Введены неверные данные!"_s});
        QVERIFY(form->isVisible());
        QCOMPARE(test::record().SibDescription[0], u"брат"_s);
        QVERIFY(!currentInstance<TForm4>);
        QCOMPARE(test::record().SibWindowPassed, 0);
        pressForward(form);
        QCOMPARE(messages.texts.size(), 2);

        typeText(rowOf(form, 2).month, u"3"_s);
        pressForward(form);
        QCOMPARE(messages.texts.size(), 2);
        QCOMPARE(test::record().SibBirthOrder, 3);
        QCOMPARE(test::record().SibWithYearCount, 2);
        QCOMPARE(test::record().SibSameMonthCount, 0);
        QCOMPARE(test::record().SibWithoutYearCount, 1);
        QCOMPARE(test::record().SibDescription[0], u"брат, день: , месяц: , год: 2002"_s);
        QCOMPARE(test::record().SibDescription[1], u"сестра, день: 7, месяц: 3, год: 2004"_s);
        QCOMPARE(test::record().SibDescription[2], u"брат"_s);
        QCOMPARE(test::record().SibWindowPassed, 1);
        QVERIFY(currentInstance<TForm4> && currentInstance<TForm4>->isVisible());
    }

    // Whole runs, from the first window to the file.

    void runWithSiblings()
    {
        MessageLog messages;
        FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        WorkingDirectory directory;
        TForm1 *first = filledFirstWindow(true);
        click(first->Button1);
        QVERIFY2(messages.texts.isEmpty(), qPrintable(messages.texts.join(u'|')));
        TForm2 *form = currentInstance<TForm2>;
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->findChild<QLineEdit *>(u"Edit1"_s)->text(), u"Иванова Анна"_s);

        fillRow(form, 1, male, u""_s, u""_s, u"2002"_s);
        fillRow(form, 2, female, u"14"_s, u"3"_s, u"2004"_s);
        fillRow(form, 3, female, u""_s, u"5"_s, u"2004"_s);
        fillRow(form, 4, male, u"1"_s, u"1"_s, u"2006"_s);
        fillRow(form, 5, male, u"9"_s, u"9"_s, u""_s);
        pressForward(form);
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(test::record().SibWindowPassed, 1);
        QVERIFY(!form->isVisible());
        QVERIFY(currentInstance<TForm4> && currentInstance<TForm4>->isVisible());
        QCOMPARE(currentInstance<TForm4>->findChild<QLineEdit *>(u"Edit12"_s)->text(), u"Иванова Анна"_s);

        const QStringList expected = {
            u"3"_s,
            u"брат, день: , месяц: , год: 2002"_s,
            u"сестра, день: 14, месяц: 3, год: 2004"_s,
            u"сестра, день: , месяц: 5, год: 2004"_s,
            u"брат, день: 1, месяц: 1, год: 2006"_s,
            u"брат"_s,
            u""_s, u""_s, u""_s, u""_s, u""_s,
            u"4"_s, u"1"_s, u"1"_s,
        };
        const QString fileName = writeResultsFile(test::record()).path;
        const QStringList file = resultsFileLines(fileName);
        QCOMPARE(file.size(), resultsLineCount);
        QCOMPARE(siblingLines(file), expected);
    }

    void runWithoutSiblings()
    {
        MessageLog messages;
        FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        WorkingDirectory directory;
        TForm1 *first = filledFirstWindow(false);
        click(first->Button1);
        QVERIFY2(messages.texts.isEmpty(), qPrintable(messages.texts.join(u'|')));
        QVERIFY(!currentInstance<TForm2>);
        QVERIFY(currentInstance<TForm4> && currentInstance<TForm4>->isVisible());

        const QString fileName = writeResultsFile(test::record()).path;
        const QStringList file = resultsFileLines(fileName);
        QCOMPARE(file.size(), resultsLineCount);
        QStringList expected = {u"0"_s};
        for (int n = 0; n < 10; ++n)
            expected << QString();
        expected << u"0"_s << u"0"_s << u"0"_s;
        QCOMPARE(siblingLines(file), expected);
        QCOMPARE(test::record().SibWindowPassed, 0);
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
