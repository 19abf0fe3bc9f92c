#include "collect/CsvText.h"
#include "engine/Cp1251.h"
#include "engine/ItemFile.h"
#include "engine/ItemIds.h"
#include "engine/ResultLines.h"
#include "support/CollectSupport.h"
#include "support/EngineSupport.h"
#include "support/SimulatedRun.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The validator's verdict on a package: its exit status and what it printed.
std::pair<int, QString> validate(const QString &folder)
{
    QProcess node;
    node.setProcessChannelMode(QProcess::MergedChannels);
    node.start(QStringLiteral("node"), {QStringLiteral(COGBATTERY_VALIDATOR), folder + QStringLiteral("/datapackage.json")});
    if (!node.waitForFinished(60000))
        return {-1, node.errorString()};
    return {node.exitCode(), QString::fromUtf8(node.readAll())};
}

} // namespace

// The collector's item outputs, from the battery's own files of whole runs.
class CollectItemsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString inbox() const { return dir.filePath(QStringLiteral("inbox")); }
    QString path(const QString &name) const { return inbox() + u'/' + name; }

private slots:
    void initTestCase()
    {
        test::useRussianSettings();
#ifndef Q_OS_WIN
        QVERIFY2(QFileInfo::exists(QStringLiteral(COGBATTERY_VALIDATOR).section(u'/', 0, -2) + QStringLiteral("/node_modules/datapackage")),
                 "the validator is not installed: run scripts/install-deps.sh");
#endif
    }

    // Two runs of one subject and one of another, each with its item file.
    void init()
    {
        QDir(inbox()).removeRecursively();
        test::SimulatedRun olga = test::simulatedRun(QStringLiteral("Ёлкина"), QStringLiteral("Ольга"));
        test::writeSimulatedRun(inbox(), olga, 1);
        olga.record.FinalCareer = QStringLiteral("врач");
        test::writeSimulatedRun(inbox(), olga, 2);
        test::writeSimulatedRun(inbox() + QStringLiteral("/вторая группа"),
                                test::simulatedRun(QStringLiteral("Ким"), QStringLiteral("Ли")));
    }

    void theLongTableHoldsEveryItemOfEveryRun()
    {
        const QString table = dir.filePath(QStringLiteral("items.csv"));
        const test::Outcome outcome = test::collect({QStringLiteral("--items"), table, inbox()});
        QVERIFY2(outcome.status == 0 && !outcome.reports().contains(QStringLiteral(" item ")), qPrintable(outcome.errors));

        const QList<QStringList> rows = test::readCsv(test::readBytes(table), u',');
        QCOMPARE(rows[0], QStringList({QStringLiteral("subject"), QStringLiteral("run"), QStringLiteral("resumed")}) + itemColumnNames());
        QList<QStringList> expected;
        for (const auto &[name, subject, run] : {std::tuple("Ёлкина_Ольга_1", "S0001", "1"), std::tuple("Ёлкина_Ольга_2", "S0001", "2"),
                                                 std::tuple("вторая группа/Ким_Ли_1", "S0002", "1")})
            for (const QStringList &cells : readItemFile(test::readBytes(path(QString::fromUtf8(name) + QStringLiteral(".items.tsv")))).rows)
                expected << QStringList{QLatin1String(subject), QLatin1String(run), QStringLiteral("0")} + cells;
        QCOMPARE(rows.mid(1), expected);
    }

    // What does not pair, and item rows that contradict their results file.
    void whatDoesNotMatchIsReported_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("from"); // empty: the file removed
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("status");
        const QString kim = QStringLiteral("вторая группа/Ким_Ли_1");
        QTest::newRow("item file alone") << kim + ".txt" << QByteArray() << QByteArray()
                                         << kim + ".items.tsv: has no results file in the table beside it; left out of the item table" << 1;
        QTest::newRow("item file missing") << kim + ".items.tsv" << QByteArray() << QByteArray()
                                           << kim + ".txt: has no item file beside it (Ким_Ли_1.items.tsv), though other runs of the study have one" << 0;
        QTest::newRow("no item file") << kim + ".items.tsv" << QByteArray("ended_on") << QByteArray("end")
                                      << kim + ".items.tsv: has not the header of an item file; left out of the item table" << 1;
        QTest::newRow("a matrix marked wrong") << "Ёлкина_Ольга_1.items.tsv" << QByteArray("\tmatrix01\traven/item01.jpg\t3\tn/a\t3\t1\t")
                                               << QByteArray("\tmatrix01\traven/item01.jpg\t3\tn/a\t3\t0\t")
                                               << "Ёлкина_Ольга_1.txt:57: RavenTotal is 11 here, 10 by the item file "
                + path(QStringLiteral("Ёлкина_Ольга_1.items.tsv")) << 0;
    }

    void whatDoesNotMatchIsReported()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, report);
        QFETCH(int, status);
        if (from.isEmpty())
            QVERIFY(QFile::remove(path(file)));
        else
            test::writeBytes(path(file), test::readBytes(path(file)).replace(from, to));
        const test::Outcome outcome = test::collect({QStringLiteral("--items"), dir.filePath(QStringLiteral("items.csv")), inbox()});
        QVERIFY2(outcome.errors.contains(path(report) + u'\n'), qPrintable(outcome.errors));
        QCOMPARE(outcome.status, status);
    }

    // An item file damaged or not of its run is reported with its line
    // (%L: the line edited, %N: the one after it), and --strict leaves the
    // pair out; copies a browser saved and files saved again with CR LF and a
    // byte-order mark pair and read as they are.
    void damagedItemFilesAreReportedWithTheirLine_data()
    {
        QTest::addColumn<QString>("edit"); // of Ёлкина_Ольга_1.items.tsv, on the rows of the items named
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("report"); // empty: no report at all
        QTest::addColumn<int>("status");
        const QString olga = QStringLiteral("Ёлкина_Ольга_1.items.tsv");
        QTest::newRow("a row repeated") << "repeat matrix05" << QStringList() << olga + ":%N: repeats the item matrix05 of line %L" << 0;
        QTest::newRow("a row repeated, --strict") << "repeat matrix05" << QStringList{"--strict"}
                                                  << "Ёлкина_Ольга_1.txt: left out of the table with its item file (--strict)" << 1;
        QTest::newRow("a row deleted") << "delete matrix05" << QStringList() << olga + ": has no row of the item matrix05 (matrices)" << 0;
        QTest::newRow("an unknown item") << "rename matrix05 matrix16" << QStringList() << olga + ":%L: matrix16 is no item of the task matrices" << 0;
        QTest::newRow("rows out of order") << "exchange matrix03 matrix09" << QStringList() << olga + ":%N: trial_index" << 0;
        QTest::newRow("another session") << "session matrix05" << QStringList() << olga + ":%L: the session changes" << 0;
        QTest::newRow("correct exchanged") << "exchange-correct" << QStringList() << olga + ":%L: correct is" << 0;
        QTest::newRow("answers of two blocks exchanged") << "exchange-answer" << QStringList()
                                                         << "Ёлкина_Ольга_1.items.tsv: RavenBlock" << 0;
        QTest::newRow("a hand test's code") << "answer thumb" << QStringList() << olga + ": LatThumbCode is " << 0;
        QTest::newRow("another run's item file") << "another run" << QStringList() << olga + ": belongs to another run" << 0;
        QTest::newRow("a browser's copies") << "browser copies" << QStringList() << "" << 0;
        QTest::newRow("saved again with CR LF and a byte-order mark") << "crlf bom" << QStringList() << "" << 0;
        QTest::newRow("an earlier battery's thirteen columns") << "previous form" << QStringList() << "" << 0;
    }

    void damagedItemFilesAreReportedWithTheirLine()
    {
        QFETCH(QString, edit);
        QFETCH(QStringList, options);
        QFETCH(QString, report);
        QFETCH(int, status);
        const QString file = path(QStringLiteral("Ёлкина_Ольга_1.items.tsv"));
        QList<QByteArray> lines = test::readBytes(file).split('\n');
        const QList<QByteArray> header = lines[0].split('\t');
        const QStringList words = edit.split(u' ');
        const auto lineOf = [&](const QString &item) {
            for (qsizetype i = 1; i < lines.size(); ++i)
                if (lines[i].contains('\t' + item.toUtf8() + '\t'))
                    return i;
            return qsizetype(-1);
        };
        const auto setCell = [&](qsizetype line, const char *column, const QByteArray &value) {
            QList<QByteArray> cells = lines[line].split('\t');
            const QByteArray old = cells[header.indexOf(column)];
            cells[header.indexOf(column)] = value;
            lines[line] = cells.join('\t');
            return old;
        };
        const auto cell = [&](qsizetype line, const char *column) { return lines[line].split('\t')[header.indexOf(column)]; };
        qsizetype edited = words.size() > 1 ? lineOf(words[1]) : 0;
        if (words[0] == u"repeat") {
            lines.insert(edited + 1, lines[edited]);
        } else if (words[0] == u"delete") {
            lines.removeAt(edited);
        } else if (words[0] == u"rename") {
            setCell(edited, "item", words[2].toUtf8());
        } else if (words[0] == u"exchange") {
            lines.swapItemsAt(edited, lineOf(words[2]));
        } else if (words[0] == u"session") {
            setCell(edited, "session", "00000000-0000-4000-8000-000000000000");
        } else if (words[0] == u"exchange-correct" || words[0] == u"exchange-answer") {
            // A matrix answered right and one answered wrong, in one block of three or in two.
            qsizetype wrong = 0;
            for (int r = 1; r <= 15 && !wrong; ++r)
                for (int w = 1; w <= 15 && !wrong; ++w)
                    if (cell(lineOf(matrixItem(r)), "correct") == "1" && cell(lineOf(matrixItem(w)), "correct") == "0"
                        && ((r - 1) / 3 == (w - 1) / 3) == (words[0] == u"exchange-correct"))
                        std::tie(edited, wrong) = std::pair{lineOf(matrixItem(r)), lineOf(matrixItem(w))};
            QVERIFY(wrong > 0);
            for (const char *column : words[0] == u"exchange-correct" ? QList{"correct"} : QList{"correct", "response"})
                setCell(wrong, column, setCell(edited, column, cell(wrong, column)));
        } else if (words[0] == u"answer") { // the other hand's code
            setCell(edited, "response", cell(edited, "response") == "1" ? "-1" : "1");
        } else if (edit == u"another run") {
            for (const char *ending : {".items.tsv", ".items.json"})
                test::writeBytes(path(QStringLiteral("Ёлкина_Ольга_1") + QLatin1String(ending)),
                                 test::readBytes(path(QStringLiteral("Ёлкина_Ольга_2") + QLatin1String(ending))));
            lines = test::readBytes(file).split('\n');
        } else if (edit == u"browser copies") {
            for (const auto &[from, to] : {std::pair{".txt", " (1).txt"}, {".items.tsv", ".items (1).tsv"}, {".items.json", ".items (1).json"}})
                QVERIFY(QFile::rename(path(QStringLiteral("Ёлкина_Ольга_2") + QLatin1String(from)),
                                      path(QStringLiteral("Ёлкина_Ольга_1") + QLatin1String(to))));
        } else if (edit == u"crlf bom") {
            lines = QList<QByteArray>{"\xEF\xBB\xBF" + lines.join("\r\n")};
        } else if (edit == u"previous form") {
            QList<QByteArray> previous;
            for (const QByteArray &line : std::as_const(lines)) {
                if (line.isEmpty() || line.contains("\tevent\t"))
                    continue;
                QList<QByteArray> cells;
                for (const QString &column : previousItemColumnNames())
                    cells << line.split('\t')[header.indexOf(column.toUtf8())];
                previous << cells.join('\t');
            }
            lines = previous << QByteArray();
            QVERIFY(QFile::remove(path(QStringLiteral("Ёлкина_Ольга_1.items.json"))));
        }
        if (edit != u"another run" && edit != u"browser copies")
            test::writeBytes(file, lines.join('\n'));
        if (options.contains(QStringLiteral("--strict"))) {
            // Summary lines that agree with each other, so that the results file alone passes --strict.
            const QString results = path(QStringLiteral("Ёлкина_Ольга_1.txt"));
            QList<QByteArray> resultsLines = test::readBytes(results).split('\n');
            const QStringList agreeing = QStringLiteral("-7|0|-18,1818181818182|расхождения нет|-1|7|9|2|4|-12,5|-33,3333333333333").split(u'|');
            for (int i = 0; i < agreeing.size(); ++i) // LatHandScore to DichS2Coef
                resultsLines[lineIndex(u"LatHandScore") + i] = toCp1251(agreeing[i]) + '\r';
            test::writeBytes(results, resultsLines.join('\n'));
        }

        const QString table = dir.filePath(QStringLiteral("items.csv"));
        const test::Outcome outcome = test::collect(options + QStringList{QStringLiteral("--items"), table, inbox()});
        QCOMPARE(outcome.status, status);
        if (report.isEmpty()) {
            const QStringList itemReports = outcome.reports().split(u'\n').filter(QStringLiteral(".items"));
            QVERIFY2(itemReports.isEmpty(), qPrintable(itemReports.join(u'\n')));
            QVERIFY2(outcome.errors.contains(QStringLiteral("; 3 item files read, 0 left out")), qPrintable(outcome.errors));
            // Every row of the edited file in the table, the columns an earlier battery lacked as n/a.
            const QList<QStringList> rows = test::readCsv(test::readBytes(table), u',');
            const qsizetype keystrokes = rows[0].indexOf(QStringLiteral("keystrokes"));
            const auto ofTheRun = std::count_if(rows.begin(), rows.end(), [&](const QStringList &row) {
                return row.mid(0, 2) == QStringList{"S0001", "1"} && (edit != u"previous form" || row[keystrokes] == missingValue);
            });
            QCOMPARE(ofTheRun, lines.join('\n').count('\n') - 1); // less the header
            return;
        }
        const QString expected = QString(report).replace(QStringLiteral("%L"), QString::number(edited + 1))
                                     .replace(QStringLiteral("%N"), QString::number(edited + 2));
        QVERIFY2(outcome.errors.contains(expected), qPrintable(expected + u'\n' + outcome.errors));
        if (options.contains(QStringLiteral("--strict")))
            QVERIFY2(outcome.errors.contains(file + QStringLiteral(": left out of the item table with its results file (--strict)")),
                     qPrintable(outcome.errors));
    }

    // A run taken up again after a crash or a power cut is reported, each
    // interruption with its line, and counted in the item table.
    void aResumedRunIsReportedAndCounted()
    {
        test::SimulatedRun olga = test::simulatedRun(QStringLiteral("Ёлкина"), QStringLiteral("Ольга"));
        olga.log.runEvent(resumedEvent, QStringLiteral("TForm5"), QStringLiteral("10800"));
        olga.log.runEvent(resumedEvent, QStringLiteral("TForm7"), QStringLiteral("95"));
        test::writeSimulatedRun(inbox(), olga, 1);
        const QString itemFile = path(QStringLiteral("Ёлкина_Ольга_1.items.tsv"));
        const QList<QByteArray> lines = test::readBytes(itemFile).split('\n');
        QList<int> resumedLines;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].contains("\tevent\tsession\t") && lines[i].contains("\tresumed\t"))
                resumedLines << int(i) + 1;
        QCOMPARE(resumedLines.size(), 2);

        const QString table = dir.filePath(QStringLiteral("items.csv"));
        const QString problems = dir.filePath(QStringLiteral("problems.csv"));
        const test::Outcome outcome = test::collect({QStringLiteral("--items"), table, QStringLiteral("--problems"), problems, inbox()});
        QCOMPARE(outcome.status, 0);
        const QStringList said{QStringLiteral("after 10800 s, at the window TForm5"), QStringLiteral("after 95 s, at the window TForm7")};
        QList<QStringList> noted;
        for (const QStringList &row : test::readCsv(test::readBytes(problems), u','))
            if (row[0] == itemFile)
                noted << row;
        QCOMPARE(noted.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(outcome.errors.contains(QStringLiteral("%1:%2: the run was interrupted and taken up again here, %3")
                                                 .arg(itemFile).arg(resumedLines[i]).arg(said[i])),
                     qPrintable(outcome.errors));
            QCOMPARE(noted[i].mid(2, 3), (QStringList{QString::number(resumedLines[i]), QStringLiteral("item"), QStringLiteral("resumed")}));
        }

        QMap<QString, QSet<QString>> resumedOfRun; // subject/run → the values of its column resumed
        const QList<QStringList> rows = test::readCsv(test::readBytes(table), u',');
        for (int row = 1; row < rows.size(); ++row)
            resumedOfRun[rows[row][0] + u'/' + rows[row][1]] << test::cell(rows, row, QStringLiteral("resumed"));
        QCOMPARE(resumedOfRun, (QMap<QString, QSet<QString>>{{QStringLiteral("S0001/1"), {QStringLiteral("2")}},
                                                             {QStringLiteral("S0001/2"), {QStringLiteral("0")}},
                                                             {QStringLiteral("S0002/1"), {QStringLiteral("0")}}}));
    }

    // The item table leaves out what narrows who a subject was as the mode
    // does: de-identified, nothing that follows from the lengths of the name
    // and surname (two subjects of other lengths have alike keys); with the
    // names left out, no message that may name a file.
    void theItemTableLeavesOutWhatTheModeLeavesOut_data()
    {
        QTest::addColumn<QString>("mode"); // empty: named
        QTest::addColumn<bool>("lengthsLeft");
        QTest::addColumn<bool>("messagesLeft");
        QTest::newRow("named") << "" << true << true;
        QTest::newRow("pseudonymised") << "--pseudonymise" << true << false;
        QTest::newRow("de-identified") << "--deidentify" << false << false;
    }

    void theItemTableLeavesOutWhatTheModeLeavesOut()
    {
        QFETCH(QString, mode);
        QFETCH(bool, lengthsLeft);
        QFETCH(bool, messagesLeft);
        test::SimulatedRun olga = test::simulatedRun(QStringLiteral("Ёлкина"), QStringLiteral("Ольга"));
        olga.log.event(QStringLiteral("message-shown"), QStringLiteral("Результаты сохранены в файл ") + path(QStringLiteral("Ёлкина_Ольга_1.txt")));
        test::writeSimulatedRun(inbox(), olga, 1);
        const QString key = dir.filePath(QStringLiteral("key.csv"));
        QFile::remove(key);
        const QString table = dir.filePath(QStringLiteral("items.csv"));
        const QStringList privacy = mode.isEmpty() ? QStringList() : QStringList{mode, key};
        QCOMPARE(test::collect(privacy + QStringList{QStringLiteral("--items"), table, inbox()}).status, 0);

        const QList<QStringList> rows = test::readCsv(test::readBytes(table), u',');
        QHash<QString, QSet<QString>> keysOfItem; // mathematics item → its keys over both subjects
        bool lengthsShown = false;
        bool messageShown = false;
        for (int row = 1; row < rows.size(); ++row) {
            const auto value = [&](const char *column) { return test::cell(rows, row, QLatin1String(column)); };
            if (value("task") == u"math" || value("task") == u"expression")
                keysOfItem[value("item")] << value("correct_response");
            lengthsShown = lengthsShown || value("stimulus").contains(u"И=");
            messageShown = messageShown || (value("item") == u"message-shown" && value("stimulus") != missingValue);
        }
        QVERIFY(!keysOfItem.isEmpty());
        const bool keysDiffer = std::any_of(keysOfItem.begin(), keysOfItem.end(), [](const QSet<QString> &keys) { return keys.size() > 1; });
        QCOMPARE(keysDiffer || lengthsShown, lengthsLeft);
        QCOMPARE(messageShown, messagesLeft);
    }

    // The package as written passes; a wrong type or a value outside its
    // constraint does not.
    void theValidatorChecksTheDataPackage_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column"); // empty: the package as written
        QTest::addColumn<QString>("value");  // written into the first row
        QTest::addColumn<QString>("error");  // what the validator says of the column
        QTest::newRow("as written") << "items" << "" << "" << "";
        QTest::newRow("a time of another type") << "items" << "onset" << "1:05" << "is not type \"number\"";
        QTest::newRow("a time on the run's timeline of another type") << "items" << "time_elapsed" << "1:05" << "is not type \"number\"";
        QTest::newRow("above the maximum") << "results" << "RavenTotal" << "16" << "\"maximum\" constraint";
        QTest::newRow("below the minimum") << "items" << "trial" << "0" << "\"minimum\" constraint";
        QTest::newRow("not one of the codes") << "items" << "ended_on" << "later" << "\"enum\" constraint";
    }

    void theValidatorChecksTheDataPackage()
    {
#ifdef Q_OS_WIN
        QSKIP("the validator runs in Node.js on the machine that builds, not under Windows");
#endif
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, error);
        const QString package = dir.filePath(QStringLiteral("package"));
        QCOMPARE(test::collect({QStringLiteral("--datapackage"), package, inbox()}).status, 0);
        if (column.isEmpty()) {
            const auto [status, errors] = validate(package);
            QVERIFY2(status == 0, qPrintable(errors));
            QCOMPARE(QDir(package).entryList(QDir::Files), QStringList({"codebook.csv", "datapackage.json", "items.csv", "results.csv"}));
            QVERIFY(test::readBytes(package + QStringLiteral("/codebook.csv")).contains("items.response_time,,real,секунды / seconds,0,"));
            return;
        }
        const QString csvPath = package + u'/' + table + QStringLiteral(".csv");
        QList<QStringList> rows = test::readCsv(test::readBytes(csvPath), u',');
        rows[1][rows[0].indexOf(column)] = value;
        CsvWriter csv(CsvStyle::Plain);
        for (const QStringList &row : rows)
            csv.record(row);
        test::writeBytes(csvPath, csv.bytes());
        const auto [status, errors] = validate(package);
        QCOMPARE(status, 1);
        QVERIFY2(errors.contains(error) && errors.contains(u'"' + column + u'"'), qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(CollectItemsTest)
#include "tst_collect_items.moc"
