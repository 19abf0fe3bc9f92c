#include "collect/CommandLine.h"
#include "collect/ErrorLog.h"
#include "engine/Cp1251.h"
#include "engine/Regional.h"
#include "engine/ResultsFile.h"
#include "support/EngineSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct Outcome
{
    int status;
    QByteArray table;
    QString errors;

    // Standard error without the closing summary line.
    QString reports() const
    {
        static const QRegularExpression summary(QStringLiteral("^cogbattery-collect: \\d+ results files? read.*\n"),
                                                QRegularExpression::MultilineOption);
        return QString(errors).remove(summary);
    }
};

Outcome collect(const QStringList &arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = runCollector(QStringList{QStringLiteral("cogbattery-collect")} + arguments, {out, err, false});
    return {status, out.data(), QString::fromUtf8(err.data())};
}

// Reads a CSV table back as a reader for R or a spreadsheet would.
QList<QStringList> readCsv(const QByteArray &bytes, QChar separator)
{
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            row << std::exchange(field, {});
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << std::exchange(field, {});
            rows << std::exchange(row, {});
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

RunRecord subject(const QString &surname, const QString &name)
{
    RunRecord r;
    r.InfoSurname = surname;
    r.InfoName = name;
    r.InfoSex = QStringLiteral("0");
    r.InfoBirthDate = QStringLiteral("3.9.2008");
    r.InfoTestDate = QStringLiteral("07.12.2026");
    r.InfoStartTime = QStringLiteral("9:05:00");
    r.InfoSchool = QStringLiteral("гимназия №2");
    r.InfoGrade = QStringLiteral("11");
    r.InfoHandedness = QStringLiteral("1");
    r.InfoConcussion = QStringLiteral("2015, 2019");
    r.InfoHeadInjury = QStringLiteral("-1");
    r.InfoHasSiblings = QStringLiteral("1");
    r.InfoHearingProblem = QStringLiteral("-1");
    r.InfoAgeDays = 6669;
    r.InfoAgeYears = 18;
    r.SibBirthOrder = 2;
    r.SibDescription[0] = QStringLiteral("брат, день: 1, месяц: 2, год: 2005");
    r.SibWithYearCount = 1;
    r.LatThumbCode = r.LatArmCode = r.LatClapCode = QStringLiteral("1");
    r.LatWinkCode = QStringLiteral("-1");
    r.LatSightCode = QStringLiteral("0");
    r.LatHandScore = QStringLiteral("-7");
    r.LatHandClass = QStringLiteral("0");
    r.DichTotalCoefText = QStringLiteral("-7,5").replace(u',', regional().decimalSeparator);
    r.DichSeriesAgreement = QStringLiteral("есть расхождение между сериями");
    r.DichEarAdvantage = QStringLiteral("-1");
    r.DichS1EarA = 9;
    r.DichS1EarB = 11;
    r.DichS2EarA = 20;
    r.DichS2EarB = 0;
    r.DichS1Coef = -12.5;
    r.DichS2Coef = 100.0 / 3;
    r.MathCorrectTotal = 9;
    r.MathCorrectExpressions = 5;
    r.MathCorrectProblems = 4;
    r.CalcUseCount = 41;
    r.CalcLasmResult = QStringLiteral("1");
    r.CalcVadlResult = r.CalcParmResult = QStringLiteral("-1");
    r.CalcCorrectCount = 1;
    r.ExprFormulaUse = QStringLiteral("2");
    r.RavenDurationText = QStringLiteral("0:14:09");
    r.RavenTotal = 11;
    r.RavenBlock1 = r.RavenBlock2 = r.RavenBlock3 = 3;
    r.RavenBlock4 = 2;
    r.FinalFinishTime = QStringLiteral("10:31:40");
    r.FinalDuration = QStringLiteral("1:26:40");
    r.FinalMusicalInstrument = QStringLiteral("-1");
    r.FinalCareer = QStringLiteral("инженер");
    r.FinalContact = QStringLiteral("olga@example.org");
    r.FinalAlgebraMark = QStringLiteral("5");
    r.FinalGeometryMark = QStringLiteral("4");
    return r;
}

RunRecord sampleSubject()
{
    return subject(QStringLiteral("Ёлкина"), QStringLiteral("Ольга"));
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The file as the battery writes it, under a folder.
QString writeResults(const QString &folder, const RunRecord &record)
{
    const QString path = folder + u'/' + resultsFileName(record);
    writeBytes(path, resultsFileContent(record));
    return path;
}

#ifdef Q_OS_WIN
// A text in another single-byte encoding, as Windows' own converter writes it.
QByteArray encodeAs(const QString &text, const char *encoding)
{
    const UINT codePage = qstrcmp(encoding, "KOI8-R") == 0 ? 20866 : qstrcmp(encoding, "CP866") == 0 ? 866 : 0;
    if (codePage == 0)
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(codePage, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray out(size, '\0');
    WideCharToMultiByte(codePage, 0, wide, int(text.size()), out.data(), size, nullptr, &lossy);
    return lossy ? QByteArray() : out;
}
#else
// A text in another single-byte encoding, as iconv(3) writes it.
QByteArray encodeAs(const QString &text, const char *encoding)
{
    iconv_t converter = iconv_open(encoding, "UTF-8");
    if (converter == iconv_t(-1))
        return {};
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2, '\0');
    char *from = in.data();
    char *to = out.data();
    size_t left = size_t(in.size());
    size_t room = size_t(out.size());
    const size_t converted = iconv(converter, &from, &left, &to, &room);
    iconv_close(converter);
    return converted == size_t(-1) ? QByteArray() : out.left(out.size() - qsizetype(room));
}
#endif

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The lines of a results file with one line changed.
QByteArray withLine(const RunRecord &record, int line, const QString &value)
{
    QList<QByteArray> lines = resultsFileContent(record).split('\n');
    lines[line - 1] = toCp1251(value) + '\r';
    return lines.join('\n');
}

const QStringList decimalLines = {QStringLiteral("InfoAgeYears"), QStringLiteral("DichTotalCoefText"),
                                  QStringLiteral("DichS1Coef"), QStringLiteral("DichS2Coef")};

// What the table should hold for a record: its file, subject code, and lines,
// decimals with the given separator.
QStringList expectedRow(const QString &path, const RunRecord &record, QChar decimalSeparator,
                        const QString &code = QStringLiteral("S0001"))
{
    QStringList row{path, code};
    const auto lines = resultsLines(record);
    for (int i = 0; i < resultsLineCount; ++i) {
        QString value = lines[i];
        if (decimalLines.contains(resultLines()[i].field))
            value.replace(regional().decimalSeparator, decimalSeparator);
        row << value;
    }
    return row;
}

QStringList header()
{
    QStringList names{QStringLiteral("file"), QStringLiteral("subject")};
    for (const ResultLine &line : resultLines())
        names << line.field;
    return names;
}

} // namespace

// The collector: results files in, one checked table out.
class CollectTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString inbox() const { return dir.path() + QStringLiteral("/inbox"); }

private slots:
    void init()
    {
        test::useRussianSettings();
        QDir(inbox()).removeRecursively();
        QDir().mkpath(inbox());
    }

    void filesOfTheBatteryComeBackUnchanged_data()
    {
        QTest::addColumn<QChar>("senderSeparator");
        QTest::newRow("decimal comma") << QChar(u',');
        QTest::newRow("decimal point") << QChar(u'.');
    }

    void filesOfTheBatteryComeBackUnchanged()
    {
        QFETCH(QChar, senderSeparator);
        setRegional({senderSeparator, QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss")});
        const RunRecord first = sampleSubject();
        const RunRecord second = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
        const QString firstPath = writeResults(inbox(), first);
        const QString secondPath = writeResults(inbox() + QStringLiteral("/декабрь"), second);

        const Outcome plain = collect({inbox()});
        QCOMPARE(plain.reports(), QString());
        QCOMPARE(plain.status, 0);
        const auto rows = readCsv(plain.table, u',');
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], header());
        QCOMPARE(rows[1], expectedRow(firstPath, first, u'.'));
        QCOMPARE(rows[2], expectedRow(secondPath, second, u'.', QStringLiteral("S0002")));
        QCOMPARE(rows[1][47], QStringLiteral("33.3333333333333"));
        QCOMPARE(rows[1][46], QStringLiteral("-12.5"));

        const Outcome excel = collect({QStringLiteral("--excel"), firstPath});
        QCOMPARE(excel.status, 0);
        QVERIFY(excel.table.startsWith("\xEF\xBB\xBF"));
        const auto excelRows = readCsv(excel.table.mid(3), u';');
        QCOMPARE(excelRows.size(), 2);
        QCOMPARE(excelRows[0], header());
        QCOMPARE(excelRows[1], expectedRow(firstPath, first, u','));
        QCOMPARE(excelRows[1][39], QStringLiteral("-7,5"));
    }

    void lineEndsMayBeLineFeedsAloneOrCarryAnExtraReturn_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR CR LF, after a text-mode transfer") << QByteArray("\r\r\n");
    }

    void lineEndsMayBeLineFeedsAloneOrCarryAnExtraReturn()
    {
        QFETCH(QByteArray, lineEnd);
        const RunRecord record = sampleSubject();
        const QString path = inbox() + QStringLiteral("/mail_1.txt");
        writeBytes(path, resultsFileContent(record).replace("\r\n", lineEnd));
        const Outcome outcome = collect({path});
        QCOMPARE(outcome.reports(), QString());
        QCOMPARE(outcome.status, 0);
        QCOMPARE(readCsv(outcome.table, u',').value(1), expectedRow(path, record, u'.'));
    }

    void aFileWithoutExactly69LinesIsLeftOut_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QByteArray whole = resultsFileContent(sampleSubject());
        QTest::newRow("68 lines") << whole.left(whole.lastIndexOf("\r\n", whole.size() - 3) + 2)
                                  << QStringLiteral("has 68 lines, not 69");
        QTest::newRow("an empty line added") << whole + "\r\n" << QStringLiteral("has 70 lines, not 69");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("has 0 lines, not 69");
    }

    void aFileWithoutExactly69LinesIsLeftOut()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString good = writeResults(inbox(), subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        const QString bad = inbox() + QStringLiteral("/Петров_Иван_1.txt");
        writeBytes(bad, content);

        const Outcome outcome = collect({inbox()});
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.errors.contains(bad + QStringLiteral(": ") + reason), qPrintable(outcome.errors));
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1][0], good);
    }

    void aFileSavedAgainAsUnicodeIsReportedAndReadRight_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("encoding");
        const QString text = fromCp1251(resultsFileContent(sampleSubject()));
        QTest::newRow("UTF-8") << text.toUtf8() << QStringLiteral("UTF-8");
        QTest::newRow("UTF-8 with a byte-order mark") << "\xEF\xBB\xBF" + text.toUtf8() << QStringLiteral("UTF-8");
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16") << QByteArray(utf16(text)) << QStringLiteral("UTF-16LE");
    }

    void aFileSavedAgainAsUnicodeIsReportedAndReadRight()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, encoding);
        const QString path = inbox() + QStringLiteral("/resaved_1.txt");
        writeBytes(path, content);

        const Outcome outcome = collect({path});
        QCOMPARE(outcome.reports(), path + QStringLiteral(": is saved as ") + encoding + QStringLiteral(", not Windows-1251: an editor saved it again; read as ") + encoding + u'\n');
        QCOMPARE(outcome.status, 0);
        QCOMPARE(readCsv(outcome.table, u',').value(1), expectedRow(path, sampleSubject(), u'.'));

        const Outcome strict = collect({QStringLiteral("--strict"), path});
        QCOMPARE(strict.status, 1);
        QCOMPARE(strict.table, QByteArray()); // no table without rows
    }

    void fieldsWithSeparatorsQuotesOrOuterBlanksAreQuoted()
    {
        RunRecord record = sampleSubject();
        record.FinalCareer = QStringLiteral("врач; учитель");
        record.FinalContact = QStringLiteral("8 (916) 000-00-00, вечером");
        record.InfoSchool = QStringLiteral("школа \"Лицей\"");
        record.InfoGrade = QStringLiteral(" 10 ");
        const QString path = writeResults(inbox() + QStringLiteral("/a;b,c"), record);

        const Outcome plain = collect({path});
        QVERIFY(plain.table.contains(",\"школа \"\"Лицей\"\"\",\" 10 \","));
        QVERIFY(plain.table.contains(",\"8 (916) 000-00-00, вечером\","));
        QCOMPARE(readCsv(plain.table, u',').value(1), expectedRow(path, record, u'.'));

        const Outcome excel = collect({QStringLiteral("--excel"), path});
        QVERIFY(excel.table.contains(";\"врач; учитель\";"));
        QCOMPARE(readCsv(excel.table.mid(3), u';').value(1), expectedRow(path, record, u','));
    }

    void aSpreadsheetDoesNotRunASubjectsTextAsAFormula()
    {
        RunRecord record = sampleSubject();
        record.FinalCareer = QStringLiteral("=HYPERLINK(\"http://x\")");
        record.FinalContact = QStringLiteral("+7 916 000-00-00");
        const QString path = writeResults(inbox(), record);

        const auto excel = readCsv(collect({QStringLiteral("--excel"), path}).table.mid(3), u';').value(1);
        QCOMPARE(excel.value(67), u'\'' + record.FinalCareer);
        QCOMPARE(excel.value(68), u'\'' + record.FinalContact);
        QCOMPARE(excel.value(37), QStringLiteral("-7")); // numbers stay numbers
        QCOMPARE(excel.value(46), QStringLiteral("-12,5"));

        const auto plain = readCsv(collect({path}).table, u',').value(1);
        QCOMPARE(plain.value(67), record.FinalCareer);
        QCOMPARE(plain.value(68), record.FinalContact);
    }

    void theSameSubjectInTwoFilesIsReported()
    {
        const QString first = writeResults(inbox() + QStringLiteral("/1"), sampleSubject());
        const QString second = writeResults(inbox() + QStringLiteral("/2"), subject(QStringLiteral("ёлкина "), QStringLiteral("Ольга")));
        const QString third = writeResults(inbox() + QStringLiteral("/3"), subject(QStringLiteral("Елкина"), QStringLiteral("Ольга")));
        writeResults(inbox() + QStringLiteral("/4"), subject(QStringLiteral("Ёлкина"), QStringLiteral("Анна")));

        const Outcome outcome = collect({inbox()});
        QCOMPARE(outcome.reports(), second + QStringLiteral(":1: the same surname and name as in ") + first + u'\n'
                                        + third + QStringLiteral(":1: the same surname and name as in ") + first + u'\n');
        QCOMPARE(outcome.status, 0);
        QCOMPARE(readCsv(outcome.table, u',').size(), 5);

        const Outcome strict = collect({QStringLiteral("--strict"), inbox()});
        QCOMPARE(strict.status, 1);
        QVERIFY(strict.errors.contains(second + QStringLiteral(": left out of the table (--strict)")));
        QCOMPARE(readCsv(strict.table, u',').size(), 3);
    }

    void aByteForByteCopyIsLeftOut()
    {
        const QString first = writeResults(inbox() + QStringLiteral("/1"), sampleSubject());
        const QString copy = writeResults(inbox() + QStringLiteral("/2"), sampleSubject());
        const Outcome outcome = collect({inbox()});
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.reports(), copy + QStringLiteral(": is a byte-for-byte copy of ") + first + QStringLiteral("; left out of the table\n"));
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1][0], first);
    }

    void valuesOutsideTheirSetsAreReported_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason"); // empty: the value is fine
        QTest::newRow("sex 2") << 3 << QStringLiteral("2") << QStringLiteral("InfoSex is \"2\", not one of \"0\", \"1\"");
        QTest::newRow("sex empty") << 3 << QString() << QStringLiteral("InfoSex is \"\", not one of \"0\", \"1\"");
        QTest::newRow("nervous disorder unanswered") << 10 << QString() << QString();
        QTest::newRow("ear advantage 2") << 40 << QStringLiteral("2") << QStringLiteral("DichEarAdvantage is \"2\", not one of \"-1\", \"0\", \"1\"");
        QTest::newRow("ear count 52") << 41 << QStringLiteral("52") << QString();
        QTest::newRow("ear count 53") << 44 << QStringLiteral("53") << QStringLiteral("DichS2EarB is 53, outside 0 to 52");
        QTest::newRow("ear count -1") << 42 << QStringLiteral("-1") << QStringLiteral("DichS1EarB is -1, outside 0 to 52");
        QTest::newRow("math 17") << 47 << QStringLiteral("17") << QStringLiteral("MathCorrectTotal is 17, outside 0 to 16");
        QTest::newRow("raven 16") << 57 << QStringLiteral("16") << QStringLiteral("RavenTotal is 16, outside 0 to 15");
        QTest::newRow("hand score 25") << 36 << QStringLiteral("25") << QStringLiteral("LatHandScore is 25, outside -24 to 24");
        QTest::newRow("age in days a word") << 15 << QStringLiteral("много") << QStringLiteral("InfoAgeDays is \"много\", not a whole number");
        QTest::newRow("count with a blank") << 57 << QStringLiteral(" 9") << QStringLiteral("RavenTotal is \" 9\", not a whole number");
        QTest::newRow("coefficient a word") << 45 << QStringLiteral("NAN") << QStringLiteral("DichS1Coef is \"NAN\", not a number");
        QTest::newRow("coefficient two separators") << 46 << QStringLiteral("1,5.5") << QStringLiteral("DichS2Coef is \"1,5.5\", not a number");
        QTest::newRow("coefficient beyond 100") << 46 << QStringLiteral("100,5") << QStringLiteral("DichS2Coef is 100,5, outside -100 to 100");
        QTest::newRow("coefficient -100") << 45 << QStringLiteral("-100") << QString();
        QTest::newRow("coefficient tiny") << 45 << QStringLiteral("1,5E-7") << QString();
        QTest::newRow("no word recalled") << 38 << QStringLiteral("дихотическое прослушивание пройдено неправильно") << QString();
        QTest::newRow("mark 1") << 69 << QStringLiteral("1") << QStringLiteral("FinalGeometryMark is \"1\", not one of \"2\", \"3\", \"4\", \"5\"");
        QTest::newRow("concussion years") << 11 << QStringLiteral("2019") << QString();
    }

    void valuesOutsideTheirSetsAreReported()
    {
        QFETCH(int, line);
        QFETCH(QString, value);
        QFETCH(QString, reason);
        const QString path = inbox() + QStringLiteral("/changed_1.txt");
        writeBytes(path, withLine(sampleSubject(), line, value));

        const Outcome outcome = collect({path});
        QCOMPARE(outcome.status, 0);
        const QString cell = readCsv(outcome.table, u',').value(1).value(line + 1);
        QVERIFY2(cell == value || cell == QString(value).replace(u',', u'.'), qPrintable(cell));
        if (reason.isEmpty()) {
            QCOMPARE(outcome.reports(), QString());
            return;
        }
        QCOMPARE(outcome.reports(), path + u':' + QString::number(line) + QStringLiteral(": ") + reason + u'\n');

        const Outcome strict = collect({QStringLiteral("--strict"), path});
        QCOMPARE(strict.status, 1);
        QCOMPARE(strict.table, QByteArray()); // no table without rows
    }

    void foldersAreSearchedForResultsFilesOnly()
    {
        const QString top = writeResults(inbox(), sampleSubject());
        const QString deep = writeResults(inbox() + QStringLiteral("/a/b/c"), subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        writeBytes(inbox() + QStringLiteral("/a/notes.txt"), "not a results file");
        writeBytes(inbox() + QStringLiteral("/a/Ким_Ли_2.txt.bak"), "not a results file either");
        // A second run of the same name on one computer is numbered on.
        const QString again = inbox() + QStringLiteral("/a/b/c/Ким_Ли_12.txt");
        RunRecord secondRun = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
        secondRun.RavenTotal = 12;
        writeBytes(again, resultsFileContent(secondRun));

        // A file also named on its own is read once.
        const Outcome outcome = collect({inbox(), top});
        QCOMPARE(outcome.reports(), inbox() + QStringLiteral("/a/notes.txt: is not named surname_name_N.txt; not read\n")
                                        + inbox() + QStringLiteral("/a/Ким_Ли_2.txt.bak: is not named surname_name_N.txt; not read\n")
                                        + again + QStringLiteral(":1: the same surname and name as in ") + deep + u'\n');
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1][0], deep);
        QCOMPARE(rows[2][0], again);
        QCOMPARE(rows[3][0], top);

        QDir().mkpath(inbox() + QStringLiteral("/empty"));
        const Outcome none = collect({inbox() + QStringLiteral("/empty")});
        QCOMPARE(none.status, 1);
        QVERIFY2(none.errors.startsWith(QStringLiteral("cogbattery-collect: no results files (*_N.txt) found\n")), qPrintable(none.errors));
        QCOMPARE(none.table, QByteArray());
    }

    void badUsageEndsWithStatus2_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no path") << QStringList() << QStringLiteral("no results file or folder given");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--csv")} << QStringLiteral("Unknown option 'csv'");
        QTest::newRow("missing path") << QStringList{QStringLiteral("/no/such/folder")}
                                      << QStringLiteral("no such file or folder: /no/such/folder");
        QTest::newRow("output without a file") << QStringList{QStringLiteral("-o")} << QStringLiteral("Missing value after '-o'");
    }

    void badUsageEndsWithStatus2()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        const Outcome outcome = collect(arguments);
        QCOMPARE(outcome.status, 2);
        QVERIFY2(outcome.errors.contains(reason), qPrintable(outcome.errors));
        QCOMPARE(outcome.table, QByteArray());
    }

    void helpDescribesTheOptions()
    {
        const Outcome outcome = collect({QStringLiteral("--help")});
        QCOMPARE(outcome.status, 0);
        for (const char *option : {"--output <file>", "--excel", "--strict", "--codebook <file>", "--pseudonymise <keyfile>",
                                   "--problems <file>", "--version", "Exit status"})
            QVERIFY2(outcome.table.contains(option), option);
        const Outcome version = collect({QStringLiteral("--version")});
        QCOMPARE(version.status, 0);
        QVERIFY2(QRegularExpression(QStringLiteral("^cogbattery-collect \\d+\\.\\d+\\.\\d+\n$")).match(QString::fromUtf8(version.table)).hasMatch(),
                 version.table.constData());
    }

    void theProgressLineShowsOnlyOnATerminalAndMakesWayForReports_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("terminal") << true
                                  << QByteArray("\rreading results files: 5 of 10\r" + QByteArray(30, ' ') + "\rx_1.txt:3: wrong\n");
        QTest::newRow("pipe") << false << QByteArray("x_1.txt:3: wrong\n");
    }

    void theProgressLineShowsOnlyOnATerminalAndMakesWayForReports()
    {
        QFETCH(bool, terminal);
        QFETCH(QByteArray, shown);
        QBuffer err;
        err.open(QIODevice::WriteOnly);
        ErrorLog log(err, terminal);
        log.progress(1, 10); // a short collection shows none
        QTest::qSleep(350);
        log.progress(5, 10);
        log.progress(6, 10); // too soon after the last
        log.report({QStringLiteral("x_1.txt"), 3, QStringLiteral("wrong")});
        log.endProgress();
        QCOMPARE(err.data(), shown);
    }

    void theTableGoesWholeIntoTheOutputFile()
    {
        const QString path = writeResults(inbox(), sampleSubject());
        const QString output = dir.path() + QStringLiteral("/table.csv");
        writeBytes(output, "an older table");

        const Outcome outcome = collect({QStringLiteral("-o"), output, path});
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.table, QByteArray());
        QFile written(output);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), collect({path}).table);

        const Outcome unwritable = collect({QStringLiteral("-o"), dir.path() + QStringLiteral("/no/such/folder/table.csv"), path});
        QCOMPARE(unwritable.status, 2);
        QVERIFY2(unwritable.errors.contains(QStringLiteral("cannot write")), qPrintable(unwritable.errors));
    }

    void relativeFoldersAreReadFromAnyWorkingDirectory_data()
    {
        QTest::addColumn<QString>("workingDirectory"); // under the temporary folder
        QTest::addColumn<QString>("argument");
        QTest::newRow("below") << QString() << QStringLiteral("study/inbox/");
        QTest::newRow("beside") << QStringLiteral("elsewhere") << QStringLiteral("../study/inbox");
        QTest::newRow("within") << QStringLiteral("study/inbox/mail") << QStringLiteral("..");
    }

    void relativeFoldersAreReadFromAnyWorkingDirectory()
    {
        QFETCH(QString, workingDirectory);
        QFETCH(QString, argument);
        const QString folder = dir.path() + QStringLiteral("/study/inbox");
        const RunRecord first = sampleSubject();
        const RunRecord second = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
        writeResults(folder, first);
        writeResults(folder + QStringLiteral("/mail"), second);
        QDir().mkpath(dir.path() + u'/' + workingDirectory);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path() + u'/' + workingDirectory));
        const Outcome outcome = collect({argument});
        QDir::setCurrent(previous);
        QDir(dir.path() + QStringLiteral("/study")).removeRecursively();

        QCOMPARE(outcome.reports(), QString());
        QCOMPARE(outcome.status, 0);
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), 3);
        const QString base = QDir::cleanPath(argument);
        QCOMPARE(rows[1], expectedRow(base + QStringLiteral("/mail/Ким_Ли_1.txt"), second, u'.', QStringLiteral("S0001")));
        QCOMPARE(rows[2], expectedRow(base + QStringLiteral("/Ёлкина_Ольга_1.txt"), first, u'.', QStringLiteral("S0002")));
    }

    void everythingSeenAndNotTakenIsNamedWithItsReason()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no named pipes in the file system and no file names outside Unicode");
#else
        const QString results = writeResults(inbox(), sampleSubject());
        // A second attachment of one name, as a mail program saves it, and a later run.
        const QString copy = inbox() + QStringLiteral("/Ёлкина_Ольга_1 (1).txt");
        writeBytes(copy, resultsFileContent(subject(QStringLiteral("Ёлкина"), QStringLiteral("Оля"))));
        const QString later = inbox() + QStringLiteral("/Ким_Ли_27.txt");
        writeBytes(later, resultsFileContent(subject(QStringLiteral("Ким"), QStringLiteral("Ли"))));

        const QString doubled = inbox() + QStringLiteral("/Петров_Иван_1.txt.txt");
        const QString notes = inbox() + QStringLiteral("/notes.txt");
        const QString hidden = inbox() + QStringLiteral("/.Сидоров_Петр_1.txt");
        const QString hiddenFolder = inbox() + QStringLiteral("/.trash");
        const QString elsewhere = dir.path() + QStringLiteral("/elsewhere");
        const QString link = inbox() + QStringLiteral("/link");
        const QString pipe = inbox() + QStringLiteral("/pipe_1.txt");
        for (const QString &path : {doubled, notes, hidden})
            writeBytes(path, resultsFileContent(subject(QStringLiteral("Петров"), QStringLiteral("Иван"))));
        writeResults(hiddenFolder, subject(QStringLiteral("Орлов"), QStringLiteral("Лев")));
        writeResults(elsewhere, subject(QStringLiteral("Орлов"), QStringLiteral("Лев")));
        QVERIFY(QFile::link(elsewhere, link));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        // A name in Windows-1251 bytes, as an archive from Windows unpacks.
        const QByteArray cp1251Name = QFile::encodeName(inbox()) + '/' + toCp1251(QStringLiteral("Семёнова_Алёна_1.txt"));
        const int fd = ::open(cp1251Name.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);

        const Outcome outcome = collect({inbox()});
        ::unlink(cp1251Name.constData()); // a name that Qt cannot remove
        QCOMPARE(outcome.status, 1);
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1][0], results);
        QCOMPARE(rows[2][0], copy); // after the file it copies
        QCOMPARE(rows[3][0], later);

        const QStringList reports = outcome.reports().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(reports.size(), 7);
        auto reported = [&](const QString &path, const QString &reason) {
            return std::any_of(reports.begin(), reports.end(), [&](const QString &line) {
                return line.startsWith(path + QStringLiteral(": ")) && line.contains(reason);
            });
        };
        QVERIFY2(reported(doubled, QStringLiteral("not named")), qPrintable(outcome.errors));
        QVERIFY2(reported(notes, QStringLiteral("not named")), qPrintable(outcome.errors));
        QVERIFY2(reported(hidden, QStringLiteral("hidden")), qPrintable(outcome.errors));
        QVERIFY2(reported(hiddenFolder, QStringLiteral("hidden")), qPrintable(outcome.errors));
        QVERIFY2(reported(link, QStringLiteral("link to a folder")), qPrintable(outcome.errors));
        QVERIFY2(reported(pipe, QStringLiteral("not a regular file")), qPrintable(outcome.errors));
        QVERIFY2(reported(inbox() + QStringLiteral("/Семёнова_Алёна_1.txt"), QStringLiteral("not UTF-8")), qPrintable(outcome.errors));
#endif
    }

    void aFifoNamedOnTheCommandLineIsNotOpened()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no named pipes in the file system");
#else
        const QString good = writeResults(inbox(), sampleSubject());
        const QString pipe = inbox() + QStringLiteral("/Ким_Ли_1.txt");
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const Outcome outcome = collect({pipe, good});
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.reports().startsWith(pipe + QStringLiteral(": is not a regular file")), qPrintable(outcome.errors));
        QCOMPARE(readCsv(outcome.table, u',').size(), 2);
#endif
    }

    void anEarlierTableIsNeverReplacedByOneWithoutRows_data()
    {
        QTest::addColumn<QByteArray>("content"); // of the one file in the inbox; none when null
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("a file left out") << QByteArray("68 lines\r\n");
    }

    void anEarlierTableIsNeverReplacedByOneWithoutRows()
    {
        QFETCH(QByteArray, content);
        if (!content.isNull())
            writeBytes(inbox() + QStringLiteral("/Ким_Ли_1.txt"), content);
        const QString output = dir.path() + QStringLiteral("/table.csv");
        writeBytes(output, "an earlier table");

        const Outcome outcome = collect({QStringLiteral("-o"), output, inbox()});
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.errors.contains(QStringLiteral("cogbattery-collect: no table written")), qPrintable(outcome.errors));
        QCOMPARE(readBytes(output), QByteArray("an earlier table"));
        QCOMPARE(collect({inbox()}).table, QByteArray());
    }

    void theTableIsNeverWrittenToAnEmptyFileName()
    {
        const QString path = writeResults(inbox(), sampleSubject());
        const Outcome outcome = collect({QStringLiteral("-o"), QString(), path});
        QCOMPARE(outcome.status, 2);
        QCOMPARE(outcome.table, QByteArray());
        QVERIFY2(outcome.errors.startsWith(QStringLiteral("cogbattery-collect: ")), qPrintable(outcome.errors));
    }

    void aFullDiskIsReportedAsSuch()
    {
        SKIP_WITHOUT_FULL_DISK();
        const QString path = writeResults(inbox(), sampleSubject());
        const QString output = dir.path() + QStringLiteral("/table.csv");
        writeBytes(output, "an earlier table");
        Outcome outcome;
        {
            const test::FullDisk full;
            outcome = collect({QStringLiteral("-o"), output, path});
        }
        QCOMPARE(outcome.status, 2);
        QVERIFY2(outcome.errors.contains(QStringLiteral("cogbattery-collect: cannot write ") + output + QStringLiteral(": File too large")),
                 qPrintable(outcome.errors));
        QCOMPARE(readBytes(output), QByteArray("an earlier table"));
    }

    void aNulCharacterInATextIsReportedAndDropped()
    {
        const QString path = inbox() + QStringLiteral("/nul_1.txt");
        writeBytes(path, withLine(sampleSubject(), 66, QStringLiteral("инж") + QChar(0) + QStringLiteral("енер")));
        const Outcome outcome = collect({path});
        QCOMPARE(outcome.status, 0);
        QVERIFY2(outcome.reports().startsWith(path + QStringLiteral(":66: FinalCareer holds a NUL character")), qPrintable(outcome.errors));
        QCOMPARE(readCsv(outcome.table, u',').value(1).value(67), QStringLiteral("инженер"));
    }

    void aFileInAnotherSingleByteEncodingIsReportedAndReadRight_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::newRow("KOI8-R") << QByteArray("KOI8-R");
        QTest::newRow("CP866") << QByteArray("CP866");
    }

    void aFileInAnotherSingleByteEncodingIsReportedAndReadRight()
    {
        QFETCH(QByteArray, encoding);
        RunRecord record = sampleSubject();
        record.InfoSchool = QStringLiteral("гимназия 2"); // KOI8-R has no sign for "number"
        const QString path = inbox() + QStringLiteral("/recoded_1.txt");
        const QByteArray bytes = encodeAs(fromCp1251(resultsFileContent(record)), encoding.constData());
        QVERIFY(!bytes.isEmpty());
        writeBytes(path, bytes);

        const Outcome outcome = collect({path});
        QCOMPARE(outcome.reports(), path + QStringLiteral(": is saved as ") + QString::fromLatin1(encoding)
                                        + QStringLiteral(", not Windows-1251: an editor saved it again; read as ")
                                        + QString::fromLatin1(encoding) + u'\n');
        QCOMPARE(readCsv(outcome.table, u',').value(1), expectedRow(path, record, u'.'));
    }

    void theCodebookDescribesEveryColumnAndWhatTheBatteryWrites()
    {
        // Two runs as the battery writes them, between them other codes of most coded lines.
        RunRecord other = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
        other.InfoSex = other.LatSightCode = other.LatHandClass = other.DichEarAdvantage = QStringLiteral("1");
        other.InfoHandedness = other.LatWinkCode = QStringLiteral("0");
        other.InfoHasSiblings = other.LatThumbCode = other.CalcLasmResult = other.FinalMusicalInstrument = QStringLiteral("-1");
        other.InfoNervousDisorder = QStringLiteral("1");
        other.DichTotalCoefText = QStringLiteral("дихотическое прослушивание пройдено неправильно");
        other.DichSeriesAgreement = QStringLiteral("расхождения нет");
        other.ExprFormulaUse = QStringLiteral("-1");
        other.FinalAlgebraMark = QStringLiteral("2");
        writeResults(inbox(), sampleSubject());
        writeResults(inbox(), other);
        const QString codebookFile = dir.path() + QStringLiteral("/codebook.csv");

        for (const bool pseudonymised : {false, true}) {
            QStringList arguments{QStringLiteral("--codebook"), codebookFile, inbox()};
            if (pseudonymised)
                arguments << QStringLiteral("--pseudonymise") << dir.path() + QStringLiteral("/key.csv");
            const Outcome outcome = collect(arguments);
            QCOMPARE(outcome.status, 0);
            const auto codebook = readCsv(readBytes(codebookFile), u',');
            const auto table = readCsv(outcome.table, u',');
            QCOMPARE(codebook.value(0), (QStringList{"column", "line", "type", "unit", "minimum", "maximum",
                                                     "description_ru", "description_en", "codes_ru", "codes_en"}));
            QCOMPARE(codebook.size(), table[0].size() + 1);
            QCOMPARE(table[0].size(), pseudonymised ? 67 : 71);
            for (int column = 0; column < table[0].size(); ++column) {
                const QStringList &about = codebook[column + 1];
                QCOMPARE(about[0], table[0][column]);
                QVERIFY2(!about[6].isEmpty() && !about[7].isEmpty(), qPrintable(about[0]));
                if (about[1].isEmpty())
                    continue;
                QCOMPARE(resultLines()[about[1].toInt() - 1].field, about[0]);
                // Every value the battery wrote is a code, a number in range or a text, as the codebook says.
                QStringList codes;
                for (const QString &pair : about[9].split(QStringLiteral("; "), Qt::SkipEmptyParts))
                    codes << pair.section(QStringLiteral(" = "), 0, 0).remove(u'"');
                for (const QStringList &row : table.mid(1)) {
                    const QString value = row[column];
                    if (about[2] == u"code") {
                        QVERIFY2(codes.contains(value), qPrintable(about[0] + u' ' + value));
                    } else if ((about[2] == u"integer" || about[2] == u"real") && !codes.contains(value)) {
                        bool number = false;
                        const double x = value.toDouble(&number);
                        QVERIFY2(number && x >= about[4].toDouble() && (about[5].isEmpty() || x <= about[5].toDouble()),
                                 qPrintable(about[0] + u' ' + value));
                    }
                }
            }
        }
        const auto codebook = readCsv(readBytes(codebookFile), u',');
        const auto line = [&](const QString &field) {
            return *std::find_if(codebook.begin(), codebook.end(), [&](const QStringList &row) { return row[0] == field; });
        };
        QCOMPARE(line(QStringLiteral("LatWinkCode"))[9], QStringLiteral("-1 = right; 0 = both alike; 1 = left"));
        QCOMPARE(line(QStringLiteral("InfoSex"))[8], QStringLiteral("0 = женский; 1 = мужской"));
    }

    void pseudonymisedTablesKeepTheirCodesAsFilesArrive()
    {
        const QString key = dir.path() + QStringLiteral("/key.csv");
        QFile::remove(key);
        const QString first = writeResults(inbox() + QStringLiteral("/1"), sampleSubject());
        const QString second = writeResults(inbox() + QStringLiteral("/2"), subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        const Outcome before = collect({QStringLiteral("--pseudonymise"), key, inbox()});
        QCOMPARE(before.status, 0);
        const auto table = readCsv(before.table, u',');
        for (const char *identifying : {"file", "InfoSurname", "InfoName", "FinalContact"})
            QVERIFY(!table[0].contains(QString::fromLatin1(identifying)));
        QCOMPARE(table[1][0], QStringLiteral("S0001"));
        QCOMPARE(table[2][0], QStringLiteral("S0002"));
        QVERIFY(!before.table.contains("Ёлкина") && !before.table.contains("olga@"));

        // Later mail: the first subject again, spelt with е, and a new one.
        RunRecord again = subject(QStringLiteral("Елкина"), QStringLiteral("Ольга"));
        again.RavenTotal = 14;
        const QString third = writeResults(inbox() + QStringLiteral("/3"), again);
        const QString fourth = writeResults(inbox() + QStringLiteral("/3"), subject(QStringLiteral("Орлов"), QStringLiteral("Лев")));
        const Outcome after = collect({QStringLiteral("--pseudonymise"), key, inbox() + QStringLiteral("/3"), inbox()});
        QCOMPARE(after.status, 0);
        QStringList codes;
        for (const QStringList &row : readCsv(after.table, u',').mid(1))
            codes << row[0];
        QCOMPARE(codes, (QStringList{"S0001", "S0003", "S0001", "S0002"}));
        const auto rows = readCsv(readBytes(key), u',');
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[0], (QStringList{"subject", "InfoSurname", "InfoName", "FinalContact", "file"}));
        QCOMPARE(rows[1], (QStringList{"S0001", "Ёлкина", "Ольга", "olga@example.org", first}));
        QCOMPARE(rows[2], (QStringList{"S0002", "Ким", "Ли", "olga@example.org", second}));
        QCOMPARE(rows[3][0] + rows[3][4], QStringLiteral("S0001") + third);
        QCOMPARE(rows[4][0] + rows[4][4], QStringLiteral("S0003") + fourth);

        // Without the option the table has the same codes beside the names.
        QCOMPARE(readCsv(collect({inbox()}).table, u',').value(1).mid(0, 3), (QStringList{first, "S0001", "Ёлкина"}));

        // A key that cannot be read is never replaced, and nothing is written.
        writeBytes(key, "not a key\r\n");
        const QString output = dir.path() + QStringLiteral("/table.csv");
        QFile::remove(output);
        const Outcome refused = collect({QStringLiteral("--pseudonymise"), key, QStringLiteral("-o"), output, inbox()});
        QCOMPARE(refused.status, 2);
        QVERIFY2(refused.errors.startsWith(QStringLiteral("cogbattery-collect: cannot read the key ") + key), qPrintable(refused.errors));
        QCOMPARE(readBytes(key), QByteArray("not a key\r\n"));
        QVERIFY(!QFile::exists(output));
    }

    void problemsAreAlsoWrittenAsATableAndCounted()
    {
        const QString good = writeResults(inbox(), subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        const QString marked = inbox() + QStringLiteral("/Орлов_Лев_1.txt");
        writeBytes(marked, withLine(subject(QStringLiteral("Орлов"), QStringLiteral("Лев")), 3, QStringLiteral("2")));
        const QString cut = inbox() + QStringLiteral("/Петров_Иван_1.txt");
        writeBytes(cut, "one line\r\n");
        writeBytes(inbox() + QStringLiteral("/.hidden"), "x");
        const QString problemsFile = dir.path() + QStringLiteral("/problems.csv");

        const Outcome outcome = collect({QStringLiteral("--problems"), problemsFile, inbox()});
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.errors.endsWith(QStringLiteral("cogbattery-collect: 3 results files read: 2 in the table, 1 left out; "
                                                        "1 other file or folder not read; 1 problem\n")),
                 qPrintable(outcome.errors));
        const auto rows = readCsv(readBytes(problemsFile), u',');
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], (QStringList{"file", "line", "column", "value", "reason"}));
        QCOMPARE(rows[1].mid(0, 4), (QStringList{inbox() + QStringLiteral("/.hidden"), "", "", ""}));
        QCOMPARE(rows[2], (QStringList{marked, "3", "InfoSex", "2", "InfoSex is \"2\", not one of \"0\", \"1\""}));
        QCOMPARE(rows[3].mid(0, 2), (QStringList{cut, ""}));
        QVERIFY(rows[3][4].startsWith(QStringLiteral("has 1 lines, not 69")));
        Q_UNUSED(good);
    }
};

QTEST_GUILESS_MAIN(CollectTest)
#include "tst_collect.moc"
