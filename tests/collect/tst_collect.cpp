#include "collect/Collector.h"
#include "collect/CommandLine.h"
#include "collect/ErrorLog.h"
#include "collect/FileBytes.h"
#include "collect/FoldedText.h"
#include "collect/SubjectCodes.h"
#include "engine/Cp1251.h"
#include "engine/Regional.h"
#include "engine/ResultsFile.h"
#include "support/CollectSupport.h"
#include "support/EngineSupport.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <optional>
#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;
using namespace test;

namespace {

RunRecord subject(const QString &surname, const QString &name)
{
    RunRecord r;
    r.InfoSurname = surname;
    r.InfoName = name;
    r.InfoBirthDate = QStringLiteral("3.9.2008");
    r.InfoTestDate = QStringLiteral("07.12.2026");
    r.InfoStartTime = QStringLiteral("9:05:00");
    r.InfoSchool = QStringLiteral("гимназия №2");
    r.InfoGrade = QStringLiteral("11");
    r.InfoConcussion = QStringLiteral("2015, 2019");
    r.InfoAgeDays = 6669;
    r.InfoAgeYears = 18;
    r.SibBirthOrder = 2;
    r.SibDescription[0] = QStringLiteral("брат, день: 1, месяц: 2, год: 2005");
    r.SibWithYearCount = 1;
    // The codes, by value.
    r.InfoSex = r.LatSightCode = r.LatHandClass = QStringLiteral("0");
    r.InfoHandedness = r.InfoHasSiblings = r.LatThumbCode = r.LatArmCode = r.LatClapCode = r.CalcLasmResult = QStringLiteral("1");
    r.InfoHeadInjury = r.InfoHearingProblem = r.LatWinkCode = r.CalcVadlResult = r.CalcParmResult = r.FinalMusicalInstrument
        = r.DichEarAdvantage = QStringLiteral("-1");
    r.LatHandScore = QStringLiteral("-7");
    // (7 - 9) / 16, (2 - 4) / 6 and (9 - 13) / 22, times 100
    r.DichTotalCoefText = QStringLiteral("-18,1818181818182").replace(u',', regional().decimalSeparator);
    r.DichSeriesAgreement = QStringLiteral("расхождения нет");
    r.DichS1EarA = 7;
    r.DichS1EarB = 9;
    r.DichS2EarA = 2;
    r.DichS2EarB = 4;
    r.DichS1Coef = -12.5;
    r.DichS2Coef = -100.0 / 3;
    r.MathCorrectTotal = 9;
    r.MathCorrectExpressions = 5;
    r.MathCorrectProblems = 4;
    r.CalcUseCount = 41;
    r.CalcCorrectCount = 1;
    r.ExprFormulaUse = QStringLiteral("2");
    r.RavenDurationText = QStringLiteral("0:14:09");
    r.RavenTotal = 11;
    r.RavenBlock1 = r.RavenBlock2 = r.RavenBlock3 = 3;
    r.RavenBlock4 = 2;
    r.FinalFinishTime = QStringLiteral("10:31:40");
    r.FinalDuration = QStringLiteral("1:26:40");
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

// The sample in letters that every Russian code page has (KOI8-R has no "№").
RunRecord sampleInEveryCodePage()
{
    RunRecord record = sampleSubject();
    record.InfoSchool = QStringLiteral("гимназия 2");
    return record;
}

// The file as the battery writes it, under a folder.
QString writeResults(const QString &folder, const RunRecord &record)
{
    const QString path = folder + u'/' + resultsFileName(record);
    writeBytes(path, resultsFileContent(record));
    return path;
}

// Text in a Russian code page, from the code pages' published tables:
// ASCII, the Russian letters and, in Windows-1251, "№"; empty when a
// character has no byte there. UTF-8 and UTF-16LE without a byte-order mark.
QByteArray encodeAs(const QString &text, const QByteArray &encoding)
{
    if (encoding == "UTF-8")
        return text.toUtf8();
    if (encoding == "UTF-16LE")
        return QStringEncoder(QStringConverter::Utf16LE)(text);
    using Runs = QList<std::pair<int, QString>>; // characters at consecutive bytes from the first
    static const QHash<QByteArray, Runs> pages{
        {"WINDOWS-1251", {{0xA8, u"Ё"_s}, {0xB8, u"ё№"_s}, {0xC0, u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя"_s}}},
        {"KOI8-R", {{0xA3, u"ё"_s}, {0xB3, u"Ё"_s}, {0xC0, u"юабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ"_s}}},
        {"CP866", {{0x80, u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмноп"_s}, {0xE0, u"рстуфхцчшщъыьэюяЁё"_s}}}};
    QByteArray bytes;
    for (const QChar c : text) {
        qsizetype byte = c.unicode() < 0x80 ? c.unicode() : -1;
        for (const auto &[first, characters] : pages.value(encoding))
            if (const qsizetype at = characters.indexOf(c); at >= 0)
                byte = first + at;
        if (byte < 0)
            return {};
        bytes += char(byte);
    }
    return bytes;
}

// Lines of a results file changed: the line, from 1, and its new value.
using LineChanges = QList<std::pair<int, QString>>;

// The file of a record with some of its lines changed.
QByteArray withLines(const RunRecord &record, const LineChanges &changes)
{
    QList<QByteArray> lines = resultsFileContent(record).split('\n');
    for (const auto &[line, value] : changes)
        lines[line - 1] = toCp1251(value) + '\r';
    return lines.join('\n');
}

// Two runs as the battery writes them, between them other codes of most coded
// lines; the sample leaves the question of nervous disorders unanswered.
void writeRunsOfMostCodes(const QString &folder)
{
    RunRecord other = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
    other.InfoSex = other.LatSightCode = other.LatHandClass = other.DichEarAdvantage = QStringLiteral("1");
    other.InfoHandedness = other.LatWinkCode = QStringLiteral("0");
    other.InfoHasSiblings = other.LatThumbCode = other.CalcLasmResult = other.FinalMusicalInstrument = QStringLiteral("-1");
    other.InfoNervousDisorder = QStringLiteral("1");
    other.DichTotalCoefText = QStringLiteral("дихотическое прослушивание пройдено неправильно");
    other.ExprFormulaUse = QStringLiteral("-1");
    other.FinalAlgebraMark = QStringLiteral("2");
    writeResults(folder, sampleSubject());
    writeResults(folder, other);
}

const QStringList decimalLines = {QStringLiteral("InfoAgeYears"), QStringLiteral("DichTotalCoefText"),
                                  QStringLiteral("DichS1Coef"), QStringLiteral("DichS2Coef")};

// What the table should hold for a record: its file, subject code, run and
// lines, decimals with the given separator.
QStringList expectedRow(const QString &path, const RunRecord &record, QChar decimalSeparator,
                        const QString &code = QStringLiteral("S0001"), int run = 1)
{
    QStringList row{path, code, QString::number(run)};
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
    QStringList names{QStringLiteral("file"), QStringLiteral("subject"), QStringLiteral("run")};
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

    // Two files as the battery writes them, the second with texts that hold
    // separators, quotes, outer blanks and the first sign of a formula.
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
        RunRecord second = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
        second.FinalCareer = QStringLiteral("=HYPERLINK(\"http://x\"); врач");
        second.FinalContact = QStringLiteral("+7 (916) 000-00-00, вечером");
        second.InfoSchool = QStringLiteral("школа \"Лицей\"");
        second.InfoGrade = QStringLiteral(" 10 ");
        const QString firstPath = writeResults(inbox(), first);
        const QString secondPath = writeResults(inbox() + QStringLiteral("/декабрь;a,b"), second);

        const Outcome plain = collect({inbox()});
        QCOMPARE(plain.reports(), QString());
        QCOMPARE(plain.status, 0);
        QVERIFY(plain.table.contains(",\" 10 \",")); // a spreadsheet trims blanks outside quotes
        const auto rows = readCsv(plain.table, u',');
        QCOMPARE(rows, (QList<QStringList>{header(), expectedRow(firstPath, first, u'.'),
                                           expectedRow(secondPath, second, u'.', QStringLiteral("S0002"))}));
        QCOMPARE(cell(rows, 1, u"DichS2Coef"_s), QStringLiteral("-33.3333333333333"));
        QCOMPARE(cell(rows, 1, u"DichS1Coef"_s), QStringLiteral("-12.5"));

        // For Excel: a byte-order mark, semicolons, decimal commas, and an
        // apostrophe before a text a spreadsheet would run as a formula.
        const Outcome excel = collect({QStringLiteral("--excel"), inbox()});
        QCOMPARE(excel.status, 0);
        QVERIFY(excel.table.startsWith("\xEF\xBB\xBF"));
        QStringList secondForExcel = expectedRow(secondPath, second, u',', QStringLiteral("S0002"));
        for (const QString &text : {u"FinalCareer"_s, u"FinalContact"_s})
            secondForExcel[header().indexOf(text)].prepend(u'\'');
        const auto excelRows = readCsv(excel.table.mid(3), u';');
        QCOMPARE(excelRows, (QList<QStringList>{header(), expectedRow(firstPath, first, u','), secondForExcel}));
        QCOMPARE(cell(excelRows, 1, u"DichTotalCoefText"_s), QStringLiteral("-18,1818181818182"));
    }

    // A file carried by a text-mode transfer, or saved again by an editor:
    // read right, and said when it is not in Windows-1251.
    void aFileSavedAgainIsReadRight_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("encoding"); // said on standard error; empty for nothing
        const QByteArray written = resultsFileContent(sampleInEveryCodePage());
        const QString text = fromCp1251(written);
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("LF") << QByteArray(written).replace("\r\n", "\n") << "";
        QTest::newRow("CR CR LF, after a text-mode transfer") << QByteArray(written).replace("\r\n", "\r\r\n") << "";
        QTest::newRow("UTF-8") << text.toUtf8() << "UTF-8";
        QTest::newRow("UTF-8 with a byte-order mark") << "\xEF\xBB\xBF" + text.toUtf8() << "UTF-8";
        QTest::newRow("UTF-16") << QByteArray(utf16(text)) << "UTF-16LE";
        QTest::newRow("KOI8-R") << encodeAs(text, "KOI8-R") << "KOI8-R";
        QTest::newRow("CP866") << encodeAs(text, "CP866") << "CP866";
    }

    void aFileSavedAgainIsReadRight()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, encoding);
        QVERIFY(!content.isEmpty());
        const QString path = inbox() + QStringLiteral("/Ёлкина_Ольга_1.txt");
        writeBytes(path, content);

        const Outcome outcome = collect({path});
        QCOMPARE(outcome.reports(), encoding.isEmpty() ? QString()
                                                       : path + QStringLiteral(": is saved as ") + encoding
                                                             + QStringLiteral(", not Windows-1251: an editor saved it again; read as ")
                                                             + encoding + u'\n');
        QCOMPARE(outcome.status, 0);
        QCOMPARE(readCsv(outcome.table, u',').value(1), expectedRow(path, sampleInEveryCodePage(), u'.'));

        const Outcome strict = collect({QStringLiteral("--strict"), path});
        QCOMPARE(strict.status, encoding.isEmpty() ? 0 : 1);
        QCOMPARE(strict.table.isEmpty(), !encoding.isEmpty()); // no table without rows
    }

    // Named beside a good file, one that cannot be a subject's run is left out.
    void whatCannotBeARunIsLeftOut_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: a named pipe, which must never be opened
        QTest::addColumn<QString>("reason");
        const QByteArray whole = resultsFileContent(subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        QTest::newRow("68 lines") << whole.left(whole.lastIndexOf("\r\n", whole.size() - 3) + 2) << "has 68 lines, not 69";
        QTest::newRow("an empty line added") << whole + "\r\n" << "has 70 lines, not 69";
        QTest::newRow("empty") << QByteArray("") << "has 0 lines, not 69";
        QTest::newRow("a byte-for-byte copy") << whole << "is a byte-for-byte copy of " + inbox() + "/Ким_Ли_1.txt; left out of the table";
        QTest::newRow("a pipe") << QByteArray() << "is not a regular file";
    }

    void whatCannotBeARunIsLeftOut()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString good = writeResults(inbox(), subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        const QString bad = inbox() + QStringLiteral("/Петров_Иван_1.txt");
        if (content.isNull()) {
#ifdef Q_OS_WIN
            QSKIP("Windows has no named pipes in the file system");
#else
            QCOMPARE(mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
#endif
        } else {
            writeBytes(bad, content);
        }

        const Outcome outcome = collect({good, bad});
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.reports().startsWith(bad + QStringLiteral(": ") + reason) && outcome.reports().count(u'\n') == 1,
                 qPrintable(outcome.errors));
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1][0], good);
    }

    // Files are read several at once: reports and rows still follow the paths.
    void manyFilesAreReportedAndTabledInTheOrderOfTheirPaths()
    {
        QString expected;
        QStringList tabled;
        for (int i = 0; i < 300; ++i) {
            const RunRecord record = subject(QStringLiteral("Фамилия%1").arg(i / 2), QStringLiteral("Ольга"));
            const QString path = writeResults(inbox() + QStringLiteral("/%1").arg(i, 3, 10, QChar(u'0')), record);
            if (i % 2 == 0)
                tabled << path;
            else
                expected += path + QStringLiteral(": is a byte-for-byte copy of ") + tabled.last() + QStringLiteral("; left out of the table\n");
        }
        const Outcome outcome = collect({inbox()});
        QCOMPARE(outcome.reports(), expected);
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), tabled.size() + 1);
        for (qsizetype i = 0; i < tabled.size(); ++i)
            QCOMPARE(rows[i + 1][0], tabled[i]);
    }

    // Names are folded by a shortcut for Latin and Russian letters: every
    // character folds as Qt's general case folding does, a pair of surrogates too.
    void namesFoldAsQtsGeneralCaseFoldingFoldsThem()
    {
        const auto general = [](const QString &text) { return text.trimmed().toCaseFolded().replace(u'ё', u'е'); };
        for (char16_t c = 1; c != 0; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const QString text = QStringLiteral(" Ёлка") + QChar(c) + QStringLiteral("Z\t");
            QCOMPARE(folded(text), general(text));
        }
        const QString pair = QStringLiteral("Ё") + QString::fromUcs4(U"\U00010400");
        QCOMPARE(folded(pair), general(pair));
    }

    // Lines of a file changed: a value outside its set, lines that contradict
    // each other (an edit), a free text that names the subject (a notice). The
    // row keeps the values as written; --strict leaves out a file with a fault,
    // never one with a notice alone.
    void changedLinesAreReportedWithTheirReason_data()
    {
        QTest::addColumn<LineChanges>("changes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason"); // empty: nothing to report
        const auto holds = [](int line, const QString &what) {
            return resultLines()[line - 1].field + " holds the subject's " + what + ": the free text identifies the subject";
        };
        const QString edited = QStringLiteral(": the file was edited or damaged");
        QTest::newRow("sex 2") << LineChanges{{3, "2"}} << 3 << "InfoSex is \"2\", not one of \"0\", \"1\"";
        QTest::newRow("sex empty") << LineChanges{{3, ""}} << 3 << "InfoSex is \"\", not one of \"0\", \"1\"";
        QTest::newRow("nervous disorder unanswered") << LineChanges{{10, ""}} << 10 << "";
        QTest::newRow("ear advantage 2") << LineChanges{{40, "2"}} << 40 << "DichEarAdvantage is \"2\", not one of \"-1\", \"0\", \"1\"";
        QTest::newRow("ear count 52") << LineChanges{{41, "52"}} << 41 << "";
        QTest::newRow("ear count 53") << LineChanges{{44, "53"}} << 44 << "DichS2EarB is 53, outside 0 to 52";
        QTest::newRow("ear count -1") << LineChanges{{42, "-1"}} << 42 << "DichS1EarB is -1, outside 0 to 52";
        QTest::newRow("math 17") << LineChanges{{47, "17"}} << 47 << "MathCorrectTotal is 17, outside 0 to 16";
        QTest::newRow("raven 16") << LineChanges{{57, "16"}} << 57 << "RavenTotal is 16, outside 0 to 15";
        QTest::newRow("hand score 25") << LineChanges{{36, "25"}} << 36 << "LatHandScore is 25, outside -24 to 24";
        QTest::newRow("age in days a word") << LineChanges{{15, "много"}} << 15 << "InfoAgeDays is \"много\", not a whole number";
        QTest::newRow("count with a blank") << LineChanges{{57, " 9"}} << 57 << "RavenTotal is \" 9\", not a whole number";
        QTest::newRow("coefficient a word") << LineChanges{{45, "NAN"}} << 45 << "DichS1Coef is \"NAN\", not a number";
        QTest::newRow("coefficient two separators") << LineChanges{{46, "1,5.5"}} << 46 << "DichS2Coef is \"1,5.5\", not a number";
        QTest::newRow("coefficient beyond 100") << LineChanges{{46, "100,5"}} << 46 << "DichS2Coef is 100,5, outside -100 to 100";
        QTest::newRow("coefficient -100") << LineChanges{{45, "-100"}} << 45 << "";
        QTest::newRow("coefficient tiny") << LineChanges{{45, "1,5E-7"}} << 45 << "";
        QTest::newRow("no word recalled") << LineChanges{{38, "дихотическое прослушивание пройдено неправильно"}} << 38 << "";
        QTest::newRow("mark 1") << LineChanges{{69, "1"}} << 69 << "FinalGeometryMark is \"1\", not one of \"2\", \"3\", \"4\", \"5\"";
        QTest::newRow("concussion years") << LineChanges{{11, "2019"}} << 11 << "";
        QTest::newRow("a NUL character") << LineChanges{{66, QStringLiteral("инж") + QChar(0) + QStringLiteral("енер")}} << 66
                                         << "FinalCareer holds a NUL character, taken out in the table";
        QTest::newRow("matrices total") << LineChanges{{57, "12"}} << 57 << "RavenTotal is 12, but lines 58, 59, 60, 61, 62 add up to 11" + edited;
        QTest::newRow("mathematics total") << LineChanges{{48, "3"}} << 47 << "MathCorrectTotal is 9, but lines 48, 49 add up to 7" + edited;
        QTest::newRow("calculator count") << LineChanges{{54, "2"}} << 54 << "CalcCorrectCount is 2, but lines 51, 52, 53 hold 1 operations found" + edited;
        QTest::newRow("hand class") << LineChanges{{37, "1"}} << 37 << "LatHandClass is \"1\", but the score -7 on line 36 makes it \"0\"" + edited;
        QTest::newRow("series 1 coefficient") << LineChanges{{45, "-10"}} << 45 << "DichS1Coef is -10, but the word counts on lines 41, 42 make -12,5" + edited;
        QTest::newRow("total coefficient") << LineChanges{{38, "-18,2"}} << 38
                                           << "DichTotalCoefText is \"-18,2\", but the word counts on lines 41, 42, 43, 44 make \"-18,1818181818182\"" + edited;
        QTest::newRow("ear advantage") << LineChanges{{40, "0"}} << 40
                                       << "DichEarAdvantage is \"0\", but the coefficient -18,1818181818182 on line 38 makes it \"-1\"" + edited;
        QTest::newRow("series agreement") << LineChanges{{39, "есть расхождение между сериями"}} << 39
                                          << "DichSeriesAgreement is \"есть расхождение между сериями\", but the word counts on lines 41, 42, 43, 44 make it \"расхождения нет\"" + edited;
        QTest::newRow("age in days") << LineChanges{{15, "6753"}} << 16 << "InfoAgeYears is 18, but 6753 days on line 15 make 19 years" + edited; // 18.5014 years
        QTest::newRow("names") << LineChanges{{1, "Петров"}, {2, "Иван"}} << 1 << "the file's name is Ёлкина_Ольга_…, but lines 1 and 2 hold Петров Иван" + edited;
        QTest::newRow("surname in the profession") << LineChanges{{66, "как у папы, ЁЛКИН ПЁТР, ёлкина семья"}} << 66 << holds(66, "InfoSurname");
        QTest::newRow("name spelt with е") << LineChanges{{14, "спросите Ольгу? нет, ольга знает"}} << 14 << holds(14, "InfoName");
        QTest::newRow("contact") << LineChanges{{11, "2015, пишите OLGA@example.org"}} << 11 << holds(11, "FinalContact");
        QTest::newRow("a longer word") << LineChanges{{66, "ольгинская школа"}} << 66 << "";
        QTest::newRow("a text no one can read as a name") << LineChanges{{66, "инженер"}} << 66 << "";
    }

    void changedLinesAreReportedWithTheirReason()
    {
        QFETCH(LineChanges, changes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const QString path = inbox() + QStringLiteral("/Ёлкина_Ольга_1.txt");
        writeBytes(path, withLines(sampleSubject(), changes));

        const Outcome outcome = collect({path});
        QCOMPARE(outcome.status, 0);
        const auto rows = readCsv(outcome.table, u',');
        QCOMPARE(rows.size(), 2);
        for (const auto &[changed, value] : changes) {
            const QString kept = QString(value).remove(QChar(0));
            const QString written = cell(rows, 1, resultLines()[changed - 1].field);
            QVERIFY2(written == kept || written == QString(kept).replace(u',', u'.'), qPrintable(written));
        }
        // A value changed alone may also contradict the lines made from it: other rows report that.
        const auto isEdit = [](const QString &report) { return report.endsWith(u"the file was edited or damaged"); };
        const QStringList reports = outcome.reports().split(u'\n', Qt::SkipEmptyParts);
        QStringList ofTheRow = reports;
        if (!isEdit(reason))
            ofTheRow.removeIf(isEdit);
        QCOMPARE(ofTheRow, reason.isEmpty() ? QStringList() : QStringList{QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(reason)});

        const bool leftOut = std::any_of(reports.begin(), reports.end(),
                                         [](const QString &report) { return !report.endsWith(u"identifies the subject"); });
        const Outcome strict = collect({QStringLiteral("--strict"), path});
        QCOMPARE(strict.status, leftOut ? 1 : 0);
        QCOMPARE(strict.table.isEmpty(), leftOut); // no table without rows
    }

    void badUsageEndsWithStatus2_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no path") << QStringList() << "no results file or folder given";
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--csv")} << "Unknown option 'csv'";
        QTest::newRow("missing path") << QStringList{QStringLiteral("/no/such/folder")} << "no such file or folder: /no/such/folder";
        QTest::newRow("output without a file") << QStringList{QStringLiteral("-o")} << "Missing value after '-o'";
        QTest::newRow("output to an empty file name") << QStringList{"-o", "", inbox()} << "an empty file name after --output";
        QTest::newRow("output into no folder") << QStringList{"-o", dir.path() + "/no/such/folder/table.csv", inbox()} << "cannot write";
    }

    void badUsageEndsWithStatus2()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        writeResults(inbox(), sampleSubject());
        const Outcome outcome = collect(arguments);
        QCOMPARE(outcome.status, 2);
        QVERIFY2(outcome.errors.contains(reason), qPrintable(outcome.errors));
        QCOMPARE(outcome.table, QByteArray());
    }

    void theProgressLineShowsOnlyOnATerminalAndMakesWayForReports_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("terminal") << true << QByteArray("\rreading results files: 5 of 10\r" + QByteArray(30, ' ') + "\rx_1.txt:3: wrong\n");
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

    // Folders are searched through for results files only, from any working
    // directory; a file also named on its own is read once.
    void foldersAreSearchedForResultsFilesOnly_data()
    {
        QTest::addColumn<QString>("workingDirectory"); // under the temporary folder
        QTest::addColumn<QStringList>("arguments");    // the first the inbox
        QTest::newRow("below") << "" << QStringList{"study/inbox/"};
        QTest::newRow("beside") << "elsewhere" << QStringList{"../study/inbox"};
        QTest::newRow("within") << "study/inbox/mail/b" << QStringList{"../.."};
        QTest::newRow("a file named again") << "" << QStringList{"study/inbox", "study/inbox/Ёлкина_Ольга_1.txt"};
    }

    void foldersAreSearchedForResultsFilesOnly()
    {
        QFETCH(QString, workingDirectory);
        QFETCH(QStringList, arguments);
        const QString folder = dir.path() + QStringLiteral("/study/inbox");
        const RunRecord first = sampleSubject();
        const RunRecord second = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
        writeResults(folder, first);
        writeResults(folder + QStringLiteral("/mail/b/c"), second);
        writeBytes(folder + QStringLiteral("/mail/notes.txt"), "not a results file");
        writeBytes(folder + QStringLiteral("/mail/Ким_Ли_2.txt.bak"), "not a results file either");
        QDir().mkpath(dir.path() + u'/' + workingDirectory);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path() + u'/' + workingDirectory));
        const Outcome outcome = collect(arguments);
        QDir::setCurrent(previous);
        QDir(dir.path() + QStringLiteral("/study")).removeRecursively();

        const QString base = QDir::cleanPath(arguments[0]);
        QCOMPARE(outcome.reports(), base + QStringLiteral("/mail/notes.txt: is not named surname_name_N.txt; not read\n") + base
                                        + QStringLiteral("/mail/Ким_Ли_2.txt.bak: is not named surname_name_N.txt; not read\n"));
        QCOMPARE(outcome.status, 1); // not every file seen is in the table
        QCOMPARE(readCsv(outcome.table, u','),
                 (QList<QStringList>{header(), expectedRow(base + QStringLiteral("/mail/b/c/Ким_Ли_1.txt"), second, u'.', QStringLiteral("S0001")),
                                     expectedRow(base + QStringLiteral("/Ёлкина_Ольга_1.txt"), first, u'.', QStringLiteral("S0002"))}));
    }

    void everythingSeenAndNotTakenIsNamedWithItsReason()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no named pipes in the file system and no file names outside Unicode");
#else
        const QString results = writeResults(inbox(), sampleSubject());
        // A second attachment of one name, as a mail program saves it, and a later run.
        const QString copy = inbox() + QStringLiteral("/Ёлкина_Ольга_1 (1).txt");
        RunRecord namesake = sampleSubject();
        namesake.InfoBirthDate = QStringLiteral("5.5.2009");
        writeBytes(copy, resultsFileContent(namesake));
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
        QCOMPARE(reports.size(), 8);
        const QList<std::pair<QString, QString>> seen{
            {copy, ":4: a namesake of the subject in " + results}, {doubled, ": is not named"}, {notes, ": is not named"},
            {hidden, ": is hidden"}, {hiddenFolder, ": is a hidden folder"}, {link, ": is a link to a folder"},
            {pipe, ": is not a regular file"}, {inbox() + "/Семёнова_Алёна_1.txt", ": has a name that is not UTF-8"}};
        for (const auto &[path, reason] : seen)
            QVERIFY2(std::any_of(reports.begin(), reports.end(), [&](const QString &report) { return report.startsWith(path + reason); }),
                     qPrintable(path + reason + u'\n' + outcome.errors));
#endif
    }

    // The table replaces an earlier one in the output file whole; a
    // collection without rows, or a full disk, leaves the earlier one as it was.
    void theOutputFileHoldsTheWholeTableOrTheEarlierOne_data()
    {
        QTest::addColumn<QByteArray>("content"); // of the one file in the inbox; none when null
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // why no table is written
        const QByteArray results = resultsFileContent(subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        QTest::newRow("a results file") << results << false << 0 << "";
        QTest::newRow("no file") << QByteArray() << false << 1 << "cogbattery-collect: no results files (*_N.txt) found\n";
        QTest::newRow("a file left out") << QByteArray("68 lines\r\n") << false << 1 << "Ким_Ли_1.txt: has 1 lines, not 69";
        QTest::newRow("a full disk") << results << true << 2 << "cogbattery-collect: cannot write " + dir.path() + "/table.csv: File too large";
    }

    void theOutputFileHoldsTheWholeTableOrTheEarlierOne()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, diskFull);
        QFETCH(int, status);
        QFETCH(QString, said);
        if (!content.isNull())
            writeBytes(inbox() + QStringLiteral("/Ким_Ли_1.txt"), content);
        const QString output = dir.path() + QStringLiteral("/table.csv");
        writeBytes(output, "an earlier table");

        Outcome outcome;
        {
            std::optional<FullDisk> full;
            if (diskFull) {
                SKIP_WITHOUT_FULL_DISK();
                full.emplace();
            }
            outcome = collect({QStringLiteral("-o"), output, inbox()});
        }
        QCOMPARE(outcome.status, status);
        QVERIFY2(outcome.errors.contains(said), qPrintable(outcome.errors));
        QCOMPARE(outcome.table, QByteArray());
        const QByteArray table = collect({inbox()}).table;
        QCOMPARE(collect({QStringLiteral("-o"), QStringLiteral("-"), inbox()}).table, table);
        QCOMPARE(readBytes(output), status == 0 ? table : QByteArray("an earlier table"));
        if (status == 1) {
            QVERIFY2(outcome.errors.contains(QStringLiteral("cogbattery-collect: no table written")), qPrintable(outcome.errors));
            QCOMPARE(table, QByteArray());
        }
    }

    void theCodebookDescribesEveryColumnAndWhatTheBatteryWrites()
    {
        writeRunsOfMostCodes(inbox());
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
            QCOMPARE(table[0].size(), pseudonymised ? 68 : 72);
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

    void problemsAreAlsoWrittenAsATableAndCounted()
    {
        writeResults(inbox(), subject(QStringLiteral("Ким"), QStringLiteral("Ли")));
        const QString marked = inbox() + QStringLiteral("/Орлов_Лев_1.txt");
        writeBytes(marked, withLines(subject(QStringLiteral("Орлов"), QStringLiteral("Лев")), {{3, "2"}}));
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
        QCOMPARE(rows[0], (QStringList{"file", "subject", "line", "column", "value", "reason"}));
        QCOMPARE(rows[1].mid(0, 5), (QStringList{inbox() + QStringLiteral("/.hidden"), "", "", "", ""}));
        QCOMPARE(rows[2], (QStringList{marked, "S0002", "3", "InfoSex", "2", "InfoSex is \"2\", not one of \"0\", \"1\""}));
        QCOMPARE(rows[3].mid(0, 3), (QStringList{cut, "", ""}));
        QVERIFY(rows[3][5].startsWith(QStringLiteral("has 1 lines, not 69")));
    }

    // A key keeps every code as files arrive, and every name when a
    // spreadsheet saves it again: Excel under Russian settings saves a CSV
    // file as Windows-1251 with semicolons.
    void aKeySavedAgainByASpreadsheetKeepsEveryNameAndCode_data()
    {
        QTest::addColumn<QByteArray>("encoding"); // for encodeAs(), after any byte-order mark
        QTest::addColumn<QByteArray>("byteOrderMark");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("newcomer"); // the surname of a subject who joins the key
        QTest::addColumn<QString>("said");     // about the key on standard error; empty for nothing
        QTest::newRow("Windows-1251, semicolons") << QByteArray("WINDOWS-1251") << QByteArray() << QChar(u';') << "Ясная" << "is Windows-1251 with semicolons";
        QTest::newRow("Windows-1251, commas") << QByteArray("WINDOWS-1251") << QByteArray() << QChar(u',') << "Ясная" << "is Windows-1251 with commas";
        QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("UTF-8") << QByteArray("\xEF\xBB\xBF") << QChar(u';') << "Ясная" << QString();
        QTest::newRow("UTF-8") << QByteArray("UTF-8") << QByteArray() << QChar(u';') << "Ясная" << QString();
        QTest::newRow("UTF-16LE") << QByteArray("UTF-16LE") << QByteArray("\xFF\xFE") << QChar(u',') << "Ясная" << "is UTF-16LE with commas";
        // Polish Ł is no character of Windows-1251: the key becomes UTF-8 with a byte-order mark.
        QTest::newRow("a name Windows-1251 cannot hold") << QByteArray("WINDOWS-1251") << QByteArray() << QChar(u';')
                                                         << "Łukasiewicz"
                                                         << "cannot hold every name in Windows-1251 with semicolons";
    }

    void aKeySavedAgainByASpreadsheetKeepsEveryNameAndCode()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, byteOrderMark);
        QFETCH(QChar, separator);
        QFETCH(QString, newcomer);
        QFETCH(QString, said);
        const QString key = dir.path() + QStringLiteral("/key.csv");
        QFile::remove(key);
        writeResults(inbox(), sampleSubject());
        writeResults(inbox(), subject(QStringLiteral("Щукин"), QStringLiteral("Фёдор")));
        QCOMPARE(collect({QStringLiteral("--pseudonymise"), key, inbox()}).status, 0);
        // No field of this key holds a comma.
        const QString resavedText = QString::fromUtf8(readBytes(key)).replace(u',', separator);
        const QByteArray resaved = byteOrderMark + encodeAs(resavedText, encoding);
        writeBytes(key, resaved);
        // Later mail, read before the earlier files: the first subject again,
        // spelt with е, and the newcomer's file as an editor saved it again in UTF-8.
        const QString again = writeResults(inbox() + QStringLiteral("/later/again"), subject(QStringLiteral("Елкина"), QStringLiteral("Ольга")));
        const QString newcomerFile = inbox() + QStringLiteral("/later/") + newcomer + QStringLiteral("_Эльза_1.txt");
        const QString text = fromCp1251(resultsFileContent(subject(QStringLiteral("Ясная"), QStringLiteral("Эльза"))));
        writeBytes(newcomerFile, QString(text).replace(QStringLiteral("Ясная"), newcomer).toUtf8());

        const Outcome outcome = collect({QStringLiteral("--pseudonymise"), key, inbox()});
        QCOMPARE(outcome.status, 0);
        QVERIFY2(outcome.reports().contains(said) && outcome.reports().contains(QStringLiteral("the key")) == !said.isEmpty(),
                 qPrintable(outcome.errors));
        QStringList codes;
        for (const QStringList &row : readCsv(outcome.table, u',').mid(1))
            codes << row[0];
        QCOMPARE(codes, (QStringList{"S0001", "S0003", "S0001", "S0002"}));
        QCOMPARE(readBytes(key + QStringLiteral(".bak")), resaved);
        // The earlier rows byte for byte and the later ones after them, in the
        // form the key was read in, or else all in UTF-8 with a byte-order mark.
        const QString added = QStringList{"S0001", "Елкина", "Ольга", "3.9.2008", "olga@example.org", again}.join(separator) + "\r\n"
                              + QStringList{"S0003", newcomer, "Эльза", "3.9.2008", "olga@example.org", newcomerFile}.join(separator) + "\r\n";
        const QByteArray addedInItsForm = encodeAs(added, encoding);
        QCOMPARE(readBytes(key), addedInItsForm.isEmpty() ? "\xEF\xBB\xBF" + (resavedText + added).toUtf8() : resaved + addedInItsForm);
    }

    // A key that contradicts itself, and outputs that would destroy a file,
    // are refused with status 2 before anything is written.
    void refusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QByteArray>("key");      // key.csv in the temporary folder
        QTest::addColumn<QStringList>("options"); // the collector runs there on "inbox"
        QTest::addColumn<QString>("said");        // standard error starts so
        const QByteArray header = "subject,InfoSurname,InfoName,InfoBirthDate,FinalContact,file\r\n";
        const QByteArray kim = "S0001,Ким,Ли,3.9.2008,,a/Ким_Ли_1.txt\r\n";
        const QStringList withKey{"--pseudonymise", "key.csv"};
        const auto unusable = [](const char *reason) { return QStringLiteral("cannot read the key key.csv:") + QString::fromUtf8(reason); };
        QTest::newRow("one code, two people") << header + kim + "S0002,Орлов,Лев,1.1.2009,,a/Орлов_Лев_1.txt\r\nS0001,Петров,Иван,3.9.2008,,a/Петров_Иван_1.txt\r\n"
                                              << withKey << unusable("4: S0001 is given to another person on line 2");
        QTest::newRow("namesakes, one code") << header + kim + "S0001,Ким,Ли,6.9.2007,,b/Ким_Ли_1.txt\r\n"
                                             << withKey << unusable("3: S0001 is given to another person on line 2");
        QTest::newRow("one person, two codes") << header + kim + "S0002,ким ,Ли,03.09.2008,,b/Ким_Ли_1.txt\r\n"
                                               << withKey << unusable("3: the person of line 2 (S0001) has another code here, S0002");
        QTest::newRow("cut off in a row") << header + kim + "S0002,Орлов,Лев,1.1.2009,,a/Орл" << withKey << unusable("3: the key ends inside this row");
        QTest::newRow("cut off in a quoted field") << header + kim + "S0002,Орлов,Лев,1.1.2009,\"8 (916)," << withKey
                                                   << unusable("3: a quote opened here is never closed");
        QTest::newRow("a row of too few fields") << header + "S0001,Ким,Ли,3.9.2008,a/Ким_Ли_1.txt\r\n" << withKey << unusable("2: has 5 fields, not 6");
        QTest::newRow("a lower-case code") << header + "s0001,Ким,Ли,3.9.2008,,a/Ким_Ли_1.txt\r\n" << withKey << unusable("2: \"s0001\" is not a code");
        QTest::newRow("another column order") << QByteArray("subject,InfoName,InfoSurname,InfoBirthDate,FinalContact,file\r\n")
                                              << withKey << unusable("1: not a key");
        QTest::newRow("an empty key") << QByteArray() << withKey << unusable("1: not a key");
        QTest::newRow("the table over the key") << header << QStringList{"-o", "key.csv", "--pseudonymise", "key.csv"}
                                                << "--output and --pseudonymise name the same file";
        QTest::newRow("by another spelling") << header << QStringList{"--pseudonymise", "key.csv", "-o", "inbox/../key.csv"}
                                             << "--output and --pseudonymise name the same file";
        QTest::newRow("through a link") << header << QStringList{"--pseudonymise", "key.csv", "--codebook", "link-to-key.csv"}
                                        << "--codebook and --pseudonymise name the same file";
        QTest::newRow("over the key kept before") << header << QStringList{"-o", "key.csv.bak", "--deidentify", "key.csv"}
                                                  << "--output and --deidentify (the key before) name the same file";
        QTest::newRow("two tables in one") << header << QStringList{"--problems", "table.csv", "--codebook", "table.csv"}
                                           << "--codebook and --problems name the same file";
        QTest::newRow("a pipe") << header << QStringList{"-o", "fifo"} << "--output fifo is not a regular file";
        QTest::newRow("a folder") << header << QStringList{"--problems", "inbox"} << "--problems inbox is not a regular file";
    }

    void refusedBeforeAnythingIsWritten()
    {
        QFETCH(QByteArray, key);
        QFETCH(QStringList, options);
        QFETCH(QString, said);
        const QDir folder(dir.path());
        writeResults(inbox(), sampleSubject());
        writeBytes(folder.filePath(QStringLiteral("key.csv")), key);
#ifdef Q_OS_WIN
        if (options.join(u' ').contains(QStringLiteral("fifo")) || options.join(u' ').contains(QStringLiteral("link-to-key")))
            QSKIP("Windows has no named pipes or symbolic links in the file system");
#else
        QFile::remove(folder.filePath(QStringLiteral("link-to-key.csv")));
        QVERIFY(QFile::link(QStringLiteral("key.csv"), folder.filePath(QStringLiteral("link-to-key.csv"))));
        if (!QFileInfo::exists(folder.filePath(QStringLiteral("fifo"))))
            QCOMPARE(mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
#endif
        for (const char *earlier : {"table.csv", "key.csv.bak"})
            QFile::remove(folder.filePath(QString::fromLatin1(earlier)));
        const QStringList before = folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const Outcome outcome = collect(options + QStringList{QStringLiteral("inbox")});
        QDir::setCurrent(previous);
        QCOMPARE(outcome.status, 2);
        QVERIFY2(outcome.errors.startsWith(QStringLiteral("cogbattery-collect: ") + said), qPrintable(outcome.errors));
        QCOMPARE(outcome.table, QByteArray());
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), before);
        QVERIFY(!QFileInfo(folder.filePath(QStringLiteral("fifo"))).isFile());
        QCOMPARE(readBytes(folder.filePath(QStringLiteral("key.csv"))), key);
    }

    // Every file a collection writes is planned before any is: outputs that
    // meet a file of the data package, or lie in its folder, are refused with
    // nothing written; the package is replaced whole, in commas and decimal
    // points, and holds no file of an earlier collection.
    void theDataPackageIsPlannedWithTheOtherOutputs_data()
    {
        QTest::addColumn<QStringList>("options"); // the collector runs in the temporary folder on "inbox"
        QTest::addColumn<QString>("earlier");     // in pkg before: "package", "package, codebook a folder", "link to the key"
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        const QStringList keyAndPackage{"--pseudonymise", "key.csv", "--datapackage", "pkg"};
        QTest::newRow("the key as the package's table") << QStringList{"--pseudonymise", "results.csv", "--datapackage", "."} << ""
                                                         << 2 << "--pseudonymise and --datapackage (results.csv) name the same file";
        QTest::newRow("the key in the package") << QStringList{"--pseudonymise", "pkg/results.csv", "--datapackage", "pkg"} << "package"
                                                << 2 << "--pseudonymise and --datapackage (results.csv) name the same file";
        QTest::newRow("the key through a link") << keyAndPackage << "link to the key" << 2
                                                << "--pseudonymise and --datapackage (results.csv) name the same file";
        QTest::newRow("problems over the descriptor") << QStringList{"--problems", "pkg/datapackage.json", "--datapackage", "pkg"}
                                                      << "package" << 2 << "--problems and --datapackage (datapackage.json) name the same file";
        QTest::newRow("a spreadsheet's table in the package") << QStringList{"-o", "pkg/results.csv", "--excel", "--datapackage", "pkg"}
                                                              << "package" << 2 << "--output and --datapackage (results.csv) name the same file";
        QTest::newRow("a package file that cannot be written") << keyAndPackage << "package, codebook a folder" << 2
                                                               << "--datapackage (codebook.csv) pkg/codebook.csv is not a regular file";
        QTest::newRow("a later collection without item files") << QStringList{"--excel", "--datapackage", "pkg"} << "package" << 0 << "";
    }

    void theDataPackageIsPlannedWithTheOtherOutputs()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, earlier);
        QFETCH(int, status);
        QFETCH(QString, said);
        const QDir folder(dir.path());
        QDir package(folder.filePath(QStringLiteral("pkg")));
        package.removeRecursively();
        for (const char *name : {"results.csv", "key.csv", "key.csv.bak"})
            QFile::remove(folder.filePath(QLatin1String(name)));
        writeResults(inbox(), sampleSubject());
        const QByteArray key = "subject,InfoSurname,InfoName,InfoBirthDate,FinalContact,file\r\n";
        writeBytes(folder.filePath(QStringLiteral("key.csv")), key);
        if (earlier.startsWith(QStringLiteral("package")))
            for (const char *name : {"results.csv", "items.csv", "codebook.csv", "datapackage.json"})
                writeBytes(package.filePath(QLatin1String(name)), QByteArray("earlier ") + name);
        if (earlier.endsWith(QStringLiteral("codebook a folder"))) {
            QFile::remove(package.filePath(QStringLiteral("codebook.csv")));
            QVERIFY(package.mkpath(QStringLiteral("codebook.csv")));
        }
        if (earlier == u"link to the key") {
#ifdef Q_OS_WIN
            QSKIP("Windows has no symbolic links in the file system");
#endif
            QVERIFY(package.mkpath(QStringLiteral(".")));
            QVERIFY(QFile::link(QStringLiteral("../key.csv"), package.filePath(QStringLiteral("results.csv"))));
        }
        const auto snapshot = [&] {
            QStringList files;
            // Regular files and folders: a read of another test's pipe would wait for ever.
            for (QDirIterator it(dir.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
                const QString path = it.next();
                files << path + u'=' + QString::fromUtf8(readBytes(path).toBase64());
            }
            files.sort();
            return files;
        };
        const QStringList before = snapshot();

        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const Outcome outcome = collect(options + QStringList{QStringLiteral("inbox")});
        QDir::setCurrent(previous);
        QCOMPARE(outcome.status, status);
        if (status != 0) {
            QVERIFY2(outcome.errors.startsWith(QStringLiteral("cogbattery-collect: ") + said), qPrintable(outcome.errors));
            QCOMPARE(snapshot(), before);
            return;
        }
        // The package holds what its descriptor lists, each table in its declared form.
        const QJsonObject descriptor = QJsonDocument::fromJson(readBytes(package.filePath(QStringLiteral("datapackage.json")))).object();
        QStringList listed{QStringLiteral("datapackage.json")};
        for (const QJsonValue resource : descriptor[u"resources"_s].toArray()) {
            const QString path = resource[u"path"_s].toString();
            listed << path;
            QCOMPARE(resource[u"dialect"_s][u"delimiter"_s].toString(), u","_s);
            const QList<QStringList> rows = readCsv(readBytes(package.filePath(path)), u',');
            QCOMPARE(rows.value(0), resource[u"name"_s].toString() == u"results" ? header() : rows.value(0));
            for (const QStringList &row : rows)
                QCOMPARE(row.size(), rows[0].size());
        }
        QCOMPARE(cell(readCsv(readBytes(package.filePath(QStringLiteral("results.csv"))), u','), 1, QStringLiteral("DichS1Coef")), u"-12.5"_s);
        QStringList held = package.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        listed.sort();
        QCOMPARE(held, listed);
        QVERIFY(!listed.contains(QStringLiteral("items.csv")));
    }

    // A reader that fails, on whichever thread, leaves its file out with the
    // failure as the reason; the other files are read and taken in their
    // order, and no more files are read ahead of the one taken than the
    // collector allows.
    void aReaderThatFailsLeavesOnlyItsFileOut_data()
    {
        QTest::addColumn<int>("failing"); // the index of the file whose reader throws
        QTest::addColumn<QString>("reason");
        QTest::newRow("the first file, out of memory") << 0 << "cannot be read (out of memory); left out of the table";
        QTest::newRow("a later file, the disk gone") << 23 << "cannot be read (the disk is gone); left out of the table";
    }

    void aReaderThatFailsLeavesOnlyItsFileOut()
    {
        QFETCH(int, failing);
        QFETCH(QString, reason);
        QStringList paths;
        for (int i = 0; i < 40; ++i) {
            RunRecord record = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
            record.InfoBirthDate = QStringLiteral("%1.1.2008").arg(i % 28 + 1);
            record.InfoGrade = QString::number(i);
            paths << writeResults(inbox() + QStringLiteral("/%1").arg(i, 2, 10, QChar(u'0')), record);
        }
        std::atomic<int> started = 0;
        std::atomic<int> taken = 0;
        std::atomic<int> farthestAhead = 0;
        const auto reader = [&](const QString &path, qint64 limit) {
            const int index = int(paths.indexOf(path));
            const int ahead = ++started - taken;
            for (int was = farthestAhead; ahead > was && !farthestAhead.compare_exchange_weak(was, ahead);) {
            }
            if (index == 0) // the others may all be read meanwhile, unless the collector holds back
                QThread::msleep(200);
            if (index == failing && failing == 0)
                throw std::bad_alloc();
            if (index == failing)
                throw std::runtime_error("the disk is gone");
            return readFileBytes(path, limit);
        };
        QList<Problem> reports; // of files left out: the others are namesakes, reported as such
        Collector collector(false, [&](const Problem &problem) { if (problem.leftOut) reports << problem; }, reader);
        collector.add(paths, [&](qsizetype filesTaken) { taken = int(filesTaken); });

        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports[0].file, paths[failing]);
        QCOMPARE(reports[0].reason, reason);
        QCOMPARE(collector.leftOutCount(), 1);
        QCOMPARE(collector.rows().size(), paths.size() - 1);
        for (int i = 0, row = 0; i < paths.size(); ++i)
            if (i != failing)
                QCOMPARE(collector.rows()[row++].file, paths[i]);
        QVERIFY2(farthestAhead <= Collector::readAhead(), qPrintable(QString::number(farthestAhead)));
    }

    // Rows own their text: rows dropped between two collections leave nothing
    // behind that refers to them (the sanitizer run reads every row after).
    void rowsDroppedBetweenCollectionsLeaveNothingBehind()
    {
        const RunRecord first = sampleSubject();
        RunRecord namesake = first;
        namesake.InfoBirthDate = QStringLiteral("6.9.2007");
        const RunRecord other = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
        const QString firstPath = writeResults(inbox() + QStringLiteral("/a"), first);
        QList<Problem> reports;
        Collector collector(false, [&](const Problem &problem) { reports << problem; });
        collector.add({firstPath}, [](qsizetype) {});
        SubjectCodes codes(true);
        codes.code(collector.rows().first());
        collector.rows().clear();

        collector.add({writeResults(inbox() + QStringLiteral("/b"), namesake), writeResults(inbox(), other)}, [](qsizetype) {});
        QCOMPARE(collector.rows().size(), 2);
        const auto expected = {resultsLines(namesake), resultsLines(other)};
        for (int row = 0; const auto &lines : expected)
            QCOMPARE(collector.rows()[row++].values, QStringList(lines.begin(), lines.end()));
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports[0].reason.contains(QStringLiteral("in %1, born 3.9.2008 (not 6.9.2007)").arg(firstPath)), qPrintable(reports[0].reason));
        QVERIFY2(codes.key(CsvStyle::Plain).contains(QStringLiteral("S0001,Ёлкина,Ольга,3.9.2008,olga@example.org,") + firstPath),
                 qPrintable(codes.key(CsvStyle::Plain)));
    }

    // One subject is one surname, name and birth date, spelt in any way;
    // namesakes are two subjects. A key of the earlier version, which gave
    // namesakes one code, gains their birth dates from the files it names.
    void namesakesAreTwoSubjectsAndAnEarlierKeyKeepsItsCodes_data()
    {
        QTest::addColumn<QString>("elderCode"); // the code the earlier key gives the elder namesake
        QTest::addColumn<int>("status");
        QTest::newRow("every person a code") << "S0004" << 0;
        QTest::newRow("namesakes merged before") << "S0007" << 2;
    }

    void namesakesAreTwoSubjectsAndAnEarlierKeyKeepsItsCodes()
    {
        QFETCH(QString, elderCode);
        QFETCH(int, status);
        RunRecord younger = subject(QStringLiteral("Иванов"), QStringLiteral("Иван"));
        younger.InfoBirthDate = QStringLiteral("24.6.2010");
        RunRecord elder = younger;
        elder.InfoBirthDate = QStringLiteral("6.9.2007");
        RunRecord elderAgain = elder;
        elderAgain.InfoBirthDate = QStringLiteral("06.09.2007");
        elderAgain.InfoName = QStringLiteral("иван ");
        const QString first = writeResults(inbox() + QStringLiteral("/1"), younger);
        const QString second = writeResults(inbox() + QStringLiteral("/2"), elder);
        const QString third = writeResults(inbox() + QStringLiteral("/3"), elderAgain);
        RunRecord brother = younger;
        brother.InfoName = QStringLiteral("Пётр");
        const QString fourth = writeResults(inbox() + QStringLiteral("/4"), brother);

        const Outcome named = collect({inbox()});
        QCOMPARE(named.reports(), second + QStringLiteral(":4: a namesake of the subject in ") + first
                                      + QStringLiteral(", born 24.6.2010 (not 6.9.2007): another subject, with a code of its own\n")
                                      + third + QStringLiteral(":1: the same surname, name and birth date as in ") + second + u'\n');
        QStringList codes;
        for (const QStringList &row : readCsv(named.table, u',').mid(1))
            codes << row[1];
        QCOMPARE(codes, (QStringList{"S0001", "S0002", "S0002", "S0003"}));
        const Outcome strict = collect({QStringLiteral("--strict"), inbox()});
        QCOMPARE(strict.status, 1);
        QVERIFY2(strict.errors.contains(third + QStringLiteral(": left out of the table (--strict)")), qPrintable(strict.errors));

        const QString key = dir.path() + QStringLiteral("/key.csv");
        const QByteArray earlier = ("subject,InfoSurname,InfoName,FinalContact,file\r\nS0007,Иванов,Иван,olga@example.org," + first
                                    + "\r\n" + elderCode + ",Иванов,Иван,olga@example.org," + second + "\r\n").toUtf8();
        writeBytes(key, earlier);
        const Outcome outcome = collect({QStringLiteral("--pseudonymise"), key, inbox()});
        QCOMPARE(outcome.status, status);
        if (status != 0) {
            QVERIFY2(outcome.errors.startsWith(QStringLiteral("cogbattery-collect: cannot read the key ") + key
                                               + QStringLiteral(":3: S0007 is given to another person on line 2")),
                     qPrintable(outcome.errors));
            QCOMPARE(readBytes(key), earlier);
            return;
        }
        QVERIFY2(outcome.reports().contains(QStringLiteral("had no birth dates")), qPrintable(outcome.errors));
        QCOMPARE(readBytes(key + QStringLiteral(".bak")), earlier);
        QCOMPARE(readCsv(readBytes(key), u','),
                 (QList<QStringList>{{"subject", "InfoSurname", "InfoName", "InfoBirthDate", "FinalContact", "file"},
                                     {"S0007", "Иванов", "Иван", "24.6.2010", "olga@example.org", first},
                                     {"S0004", "Иванов", "Иван", "6.9.2007", "olga@example.org", second},
                                     {"S0004", "Иванов", "иван ", "06.09.2007", "olga@example.org", third},
                                     {"S0008", "Иванов", "Пётр", "24.6.2010", "olga@example.org", fourth}}));
    }

    // A subject's runs are numbered by the start written in each file, its
    // test date and start time in the sending computer's formats; by the
    // file's number when the starts are alike or cannot be read.
    void aSubjectsRunsAreNumberedByTheirStart_data()
    {
        QTest::addColumn<QStringList>("files"); // "name|test date|start time" in the order written
        QTest::addColumn<QStringList>("runs");  // the names by run
        QTest::newRow("one start, by the file's number") << QStringList{"Ким_Ли_10.txt|07.12.2026|9:05:00", "Ким_Ли_2.txt|07.12.2026|9:05:00", "Ким_Ли_1.txt|07.12.2026|9:05:00"}
                                                         << QStringList{"Ким_Ли_1.txt", "Ким_Ли_2.txt", "Ким_Ли_10.txt"};
        QTest::newRow("a browser's copy started later") << QStringList{"Ким_Ли_1 (1).txt|08.12.2026|12:34:10", "Ким_Ли_1.txt|08.12.2026|12:28:05"}
                                                        << QStringList{"Ким_Ли_1.txt", "Ким_Ли_1 (1).txt"};
        QTest::newRow("a day before") << QStringList{"Ким_Ли_1.txt|08.12.2026|9:00:00", "Ким_Ли_2.txt|7.12.2026|18:00:00"}
                                      << QStringList{"Ким_Ли_2.txt", "Ким_Ли_1.txt"};
        QTest::newRow("month first, afternoon") << QStringList{"Ким_Ли_1.txt|12/8/2026|1:05:00 PM", "Ким_Ли_2.txt|12/8/2026|11:40:00 AM"}
                                                << QStringList{"Ким_Ли_2.txt", "Ким_Ли_1.txt"};
        QTest::newRow("year first") << QStringList{"Ким_Ли_1.txt|2026-12-08|10:00:00", "Ким_Ли_2.txt|2025-12-09|10:00:00"}
                                    << QStringList{"Ким_Ли_2.txt", "Ким_Ли_1.txt"};
        QTest::newRow("a start not read") << QStringList{"Ким_Ли_1.txt|08.12.2026|12:34:10", "Ким_Ли_2.txt|вчера|12:28:05"}
                                          << QStringList{"Ким_Ли_1.txt", "Ким_Ли_2.txt"};
    }

    void aSubjectsRunsAreNumberedByTheirStart()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, runs);
        for (const QString &file : files) {
            RunRecord run = subject(QStringLiteral("Ким"), QStringLiteral("Ли"));
            run.FinalCareer = QStringLiteral("профессия %1").arg(files.indexOf(file)); // no file a copy of another
            const QStringList parts = file.split(u'|');
            run.InfoTestDate = parts[1];
            run.InfoStartTime = parts[2];
            writeBytes(inbox() + u'/' + parts[0], resultsFileContent(run));
        }
        writeResults(inbox(), sampleSubject());
        QStringList byRun(runs.size());
        for (const QStringList &row : readCsv(collect({inbox()}).table, u',').mid(1))
            if (row[1] == u"S0002")
                byRun[row[2].toInt() - 1] = QFileInfo(row[0]).fileName();
        QCOMPARE(byRun, runs);
    }

    void eachPrivacyModeLeavesOutWhatIdentifiesTheSubject_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("absent"); // values of the fixture that the table must not hold
        QTest::addColumn<QStringList>("present"); // columns that stay
        const QStringList scores{"InfoSex", "InfoAgeDays", "InfoAgeYears", "RavenDurationText", "FinalDuration", "RavenTotal"};
        const QStringList names{"Ёлкина", "Ольга", "olga@example.org"};
        QTest::newRow("pseudonymised") << "--pseudonymise" << names << scores + QStringList{"InfoBirthDate", "InfoSchool", "FinalCareer"};
        QTest::newRow("deidentified") << "--deidentify"
                                      << names + QStringList{"3.9.2008", "07.12.2026", "9:05:00", "10:31:40", "гимназия", "инженер",
                                                             "2015, 2019", "брат, день"}
                                      << scores;
    }

    void eachPrivacyModeLeavesOutWhatIdentifiesTheSubject()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, absent);
        QFETCH(QStringList, present);
        writeResults(inbox(), sampleSubject());
        QFile::remove(dir.path() + QStringLiteral("/key.csv"));
        const Outcome outcome = collect({option, dir.path() + QStringLiteral("/key.csv"), inbox()});
        QCOMPARE(outcome.status, 0);
        for (const QString &value : absent)
            QVERIFY2(!QString::fromUtf8(outcome.table).contains(value), qPrintable(value));
        for (const QString &column : present)
            QVERIFY2(readCsv(outcome.table, u',').value(0).contains(column), qPrintable(column));
    }

    // The readers that the README gives for R and pandas, run as given on a
    // table of every code the battery writes.
    void theReadmeReadersLabelEveryCode_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("introduction"); // the README's line before the reader
        // Prints the count of coded cells left without a label, after the reader has labelled InfoSex.
        QTest::addColumn<QString>("check");
        QTest::newRow("R") << "Rscript" << "Read in R:"
                           << QStringLiteral("unlabelled <- 0\n"
                                             "for (column in setdiff(codebook$column[codebook$type == \"code\"], \"InfoSex\")) {\n"
                                             "  codes <- labels(column)\n"
                                             "  labelled <- factor(results[[column]], levels = names(codes), labels = codes)\n"
                                             "  unlabelled <- unlabelled + sum(is.na(labelled))\n"
                                             "}\n"
                                             "cat(unlabelled, sum(is.na(results$InfoSex)), \"\\n\")\n");
        QTest::newRow("pandas") << "python3" << "Read in Python with pandas:"
                                << QStringLiteral("unlabelled = 0\n"
                                                  "for column in codebook.loc[(codebook.type == \"code\") & (codebook.column != \"InfoSex\"), \"column\"]:\n"
                                                  "    unlabelled += int(results[column].map(labels(column)).isna().sum())\n"
                                                  "print(unlabelled, int(results.InfoSex.isna().sum()))\n");
    }

    void theReadmeReadersLabelEveryCode()
    {
#ifdef Q_OS_WIN
        QSKIP("R and pandas run on the machine that builds, not under Windows");
#endif
        QFETCH(QString, program);
        QFETCH(QString, introduction);
        QFETCH(QString, check);
        // Debian's own interpreter, which has pandas, before any other on the path.
        QString interpreter = QStandardPaths::findExecutable(program, {QStringLiteral("/usr/bin")});
        if (interpreter.isEmpty())
            interpreter = QStandardPaths::findExecutable(program);
        QVERIFY2(!interpreter.isEmpty(), qPrintable(program + QStringLiteral(" is not installed (scripts/install-deps.sh)")));

        QFile readme(QStringLiteral(COGBATTERY_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(readme.readAll()).split(u'\n');
        qsizetype at = lines.indexOf(introduction);
        QVERIFY2(at >= 0, qPrintable(introduction));
        QString reader;
        for (++at; at < lines.size() && (lines[at].isEmpty() || lines[at].startsWith(QStringLiteral("    "))); ++at)
            reader += lines[at].mid(4) + u'\n';

        writeRunsOfMostCodes(inbox());
        const QString folder = dir.path() + QStringLiteral("/reader");
        QDir().mkpath(folder);
        const Outcome outcome = collect({QStringLiteral("-o"), folder + QStringLiteral("/results.csv"), QStringLiteral("--codebook"),
                                         folder + QStringLiteral("/codebook.csv"), inbox()});
        QCOMPARE(outcome.status, 0);

        QProcess run;
        run.setWorkingDirectory(folder);
        run.start(interpreter, {QStringLiteral("-")});
        QVERIFY(run.waitForStarted());
        run.write((reader + check).toUtf8());
        run.closeWriteChannel();
        QVERIFY(run.waitForFinished(60000));
        QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()).trimmed(), QStringLiteral("0 0"));
    }

    void theManualPageAndHelpNameEveryOption()
    {
        QFile manual(QStringLiteral(COGBATTERY_SOURCE_DIR "/packaging/man/cogbattery-collect.1"));
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(manual.readAll());
        const Outcome help = collect({QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        QVERIFY(help.table.contains("Exit status"));
        QVERIFY(optionNames().size() >= 9);
        for (const QString &option : optionNames()) {
            QVERIFY2(page.contains(QString(option).replace(u'-', QStringLiteral("\\-"))), qPrintable(option));
            QVERIFY2(help.table.contains(option.toUtf8()), qPrintable(option));
        }
        const Outcome version = collect({QStringLiteral("--version")});
        QCOMPARE(version.status, 0);
        QVERIFY2(QRegularExpression(QStringLiteral("^cogbattery-collect \\d+\\.\\d+\\.\\d+\n$")).match(QString::fromUtf8(version.table)).hasMatch(),
                 version.table.constData());
    }
};

QTEST_GUILESS_MAIN(CollectTest)
#include "tst_collect.moc"
