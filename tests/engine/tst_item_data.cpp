#include "engine/Failure.h"
#include "engine/ItemFile.h"
#include "engine/ItemIds.h"
#include "engine/ItemRecount.h"
#include "engine/ItemSidecar.h"
#include "engine/ResultsFile.h"
#include "engine/StudySettings.h"
#include "support/EngineSupport.h"
#include "support/SimulatedRun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString header = QStringLiteral("session\tbattery_version\ttrial_index\tkind\ttask\ttrial\titem\tstimulus\tresponse\t"
                                      "recalled\tcorrect_response\tcorrect\tin_force\tonset\ttime_elapsed\t"
                                      "response_time\tresponse_elapsed\tchanges\tkeystrokes\tended_on");

// Two rows as an earlier battery wrote them, and the same in the columns of today.
const QString session = QStringLiteral("0b7d3c8e-5a61-4f2b-9c1d-2e3f4a5b6c7d");
const QByteArray previousFile = QStringLiteral(
    "session\tbattery_version\ttask\ttrial\titem\tstimulus\tresponse\tcorrect_response\tcorrect\tonset\t"
    "response_time\tchanges\tended_on\n"
    "%1\t0.9.0\tmath\t1\tmath01\tИ=4, Ф=7\t35\t35\t1\t0.000\t302.000\t3\tresponse\n"
    "%1\t0.9.0\tcalculator\t1\tcalculator-lasm\tЛАСМ\t8; 27\t-19\tn/a\t10.000\tn/a\tn/a\tresponse\n").arg(session).toUtf8();
const QStringList previousInToday = {
    session + "\t0.9.0\t1\titem\tmath\t1\tmath01\tИ=4, Ф=7\t35\tn/a\t35\t1\tn/a\t0.000\tn/a\t302.000\tn/a\t3\tn/a\tresponse",
    session + "\t0.9.0\t2\taction\tcalculator\t1\tcalculator-lasm\tЛАСМ\t8; 27\tn/a\t-19\tn/a\tn/a\t10.000\tn/a\tn/a\tn/a\tn/a\tn/a\tresponse"};

QStringList rowOf(const QList<QStringList> &rows, const QString &item)
{
    for (const QStringList &row : rows)
        if (row[ItemIdColumn] == item)
            return row;
    return {};
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList summaryLines(const RunRecord &record)
{
    const auto lines = resultsLines(record);
    return QStringList(lines.begin(), lines.end());
}

// The line of a file on which some bytes first stand, counted from 1.
int lineOf(const QByteArray &bytes, const QByteArray &part)
{
    return int(bytes.left(bytes.indexOf(part)).count('\n')) + 1;
}

} // namespace

// The item file of a run: its format, its times and what it says about the
// results file's summary lines.
class ItemDataTest : public QObject
{
    Q_OBJECT

private:
    test::SimulatedRun run = (test::useRussianSettings(), test::simulatedRun(QStringLiteral("Ёлкина"), QStringLiteral("Ольга")));
    QByteArray bytes = itemFileContent(itemCells(run.log.session(), itemRows(run.log, run.record)));
    QList<QStringList> rows = readItemFile(bytes).rows;

private slots:
    void theItemFileIsTabSeparatedUtf8WithOneRowPerItemMet()
    {
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(!bytes.contains('\r'));
        QVERIFY(bytes.endsWith('\n'));
        const QStringList lines = QString::fromUtf8(bytes).chopped(1).split(u'\n');
        QCOMPARE(lines[0], header);
        QCOMPARE(lines.size() - 1, rows.size());

        static const QRegularExpression uuid4(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
        QVERIFY(uuid4.match(rows[0][SessionColumn]).hasMatch());
        QVERIFY(run.log.session() != ItemLog().session());
        QHash<QString, int> perTask;
        double lastElapsed = 0;
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList &row = rows[i];
            QCOMPARE(row.size(), 20);
            QCOMPARE(row[SessionColumn], rows[0][SessionColumn]);
            QCOMPARE(row[BatteryVersionColumn], QStringLiteral("1.0.0"));
            // One timeline: rows in order of time from the run's start, numbered in that order.
            QCOMPARE(row[TrialIndexColumn].toInt(), i + 1);
            QVERIFY(row[TimeElapsedColumn].toDouble() >= lastElapsed);
            lastElapsed = row[TimeElapsedColumn].toDouble();
            QCOMPARE(row[TrialColumn].toInt(), ++perTask[row[TaskColumn] + ' ' + row[KindColumn]]);
        }
        // 5 tests and 12 questions, 2 series of 13 recordings of 8 words and 8 answer fields,
        // 4 results, 10 presses; the windows shown, the recordings started and the sheet's lock.
        QCOMPARE(perTask, (QHash<QString, int>{{"handedness item", 17}, {"handedness event", 1},
                                               {"expression item", 1},
                                               {"dichotic item", 416}, {"dichotic event", 28},
                                               {"math item", 15}, {"math event", 2},
                                               {"calculator action", 4}, {"calculator event", 1},
                                               {"rules action", 10}, {"rules event", 1},
                                               {"matrices item", 15}, {"matrices event", 1}}));
        QCOMPARE(rows[0][ItemIdColumn], QStringLiteral("window-shown"));
        QCOMPARE(rows.constLast()[ItemIdColumn], QStringLiteral("matrix15"));

        ItemRow typed;
        typed.response = QStringLiteral("12\tслово\r\n");
        QCOMPARE(itemCells(QString(), {typed})[0][ResponseColumn], QStringLiteral("12 слово  "));
    }

    // The sidecar beside the item file ties it to its results file and describes every column.
    void theSidecarTiesTheItemFileToItsResultsFile()
    {
        const test::WorkingDirectory working;
        const QString results = test::writeSimulatedRun(working.path(), run);
        const ItemSidecarTies ties = readItemSidecar(contentOf(itemSidecarPath(results)));
        QCOMPARE(ties.problem, QString());
        QCOMPARE(ties.session, run.log.session());
        QCOMPARE(ties.batteryVersion, QStringLiteral("1.0.0"));
        QCOMPARE(ties.resultsSha256,
                 QString::fromLatin1(QCryptographicHash::hash(contentOf(results), QCryptographicHash::Sha256).toHex()));
        const QJsonObject sidecar = QJsonDocument::fromJson(contentOf(itemSidecarPath(results))).object();
        QCOMPARE(sidecar[u"results_file"].toString(), QFileInfo(results).fileName());
        QCOMPARE(sidecar[u"columns"].toObject().keys().size(), header.split(u'\t').size());
        for (const QString &column : header.split(u'\t'))
            QVERIFY2(!sidecar[u"columns"][column][u"Description"].toString().isEmpty(), qPrintable(column));
        QCOMPARE(sidecar[u"columns"][u"onset"][u"Units"].toString(), QStringLiteral("s"));
        // Each handedness item says which hand its codes stand for.
        QCOMPARE(sidecar[u"items"][u"thumb"][u"Levels"][u"1"].toString(), QStringLiteral("right"));
        QCOMPARE(sidecar[u"items"][u"hand03"][u"Levels"][u"-2"].toString(), QStringLiteral("always the left hand"));

        QCOMPARE(readItemSidecar("{\"session\": \"x\"}").problem,
                 QStringLiteral("has no battery_version, started, results_sha256"));
        QVERIFY(readItemSidecar("session").problem.startsWith(QStringLiteral("is not JSON")));
    }

    void bothFilesGoToOnePlaceOrNeither_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("there"); // a file in the working directory before
        QTest::addColumn<QString>("saved"); // empty: nothing saved anywhere
        QTest::newRow("a free name") << "Ёлкина" << "" << "Ёлкина_Ольга_1.txt";
        QTest::newRow("another run's item file takes its name") << "Ёлкина" << "Ёлкина_Ольга_1.items.tsv" << "Ёлкина_Ольга_2.txt";
        // 253 bytes for the results file, 260 for the sidecar: no folder takes it.
        QTest::newRow("an item file name too long") << QString(118, u'ё') << "" << "";
    }

    void bothFilesGoToOnePlaceOrNeither()
    {
        QFETCH(QString, surname);
        QFETCH(QString, there);
        QFETCH(QString, saved);
        // The first window refuses a name too long for either file.
        QCOMPARE(fileNameFault(surname, QStringLiteral("Ольга"), true) == FileNameFault::Length, saved.isEmpty());
        QCOMPARE(itemFilePath(QStringLiteral("/data/Ёлкина_Ольга_3.txt")), QStringLiteral("/data/Ёлкина_Ольга_3.items.tsv"));
        const test::WorkingDirectory working;
        const test::HomeFolder home;
        if (!there.isEmpty())
            QVERIFY(QFile(there).open(QIODevice::WriteOnly));
        RunRecord record = run.record;
        record.InfoSurname = surname;
        try {
            QCOMPARE(QFileInfo(writeResultsFile(record, {}, itemFilesBeside(run.log, record)).path).fileName(), saved);
            QCOMPARE(readItemFile(contentOf(itemFilePath(saved))).rows.size(), rows.size());
        } catch (const Failure &) {
            QVERIFY(saved.isEmpty());
        }
        QStringList expected{there, saved, saved.isEmpty() ? QString() : itemFilePath(saved),
                             saved.isEmpty() ? QString() : itemSidecarPath(saved)};
        expected.removeAll(QString());
        expected.sort();
        QCOMPARE(QDir().entryList(QDir::Files, QDir::Name), expected);
        QCOMPARE(QDir(home.documents()).entryList(QDir::Files), QStringList());
    }

    // Times from the run's start and from each item's presentation; accepted
    // changes apart from keystrokes; every answer field as typed.
    void timesComeFromTheMonotonicClock_data()
    {
        QTest::addColumn<QString>("item");
        // response, recalled, correct, in_force, onset, time_elapsed, response_time, response_elapsed,
        // changes, keystrokes, ended_on
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("question chosen 3 s after it was read")
            << "hand12" << QStringList{"1", "n/a", "n/a", "n/a", "48.000", "48.000", "3.000", "51.000", "1", "n/a", "response"};
        QTest::newRow("expression on the hand and eye window")
            << "expression" << QStringList{"15", "n/a", "1", "n/a", "0.000", "0.000", "53.000", "53.000", "1", "2", "response"};
        QTest::newRow("word typed after its play")
            << "dichotic2-01B2" << QStringList{"плеть", "n/a", "1", "n/a", "20.000", "352.000", "9.000", "361.000", "1", "5", "response"};
        QTest::newRow("word not recalled")
            << "dichotic2-01A1" << QStringList{"n/a", "n/a", "0", "n/a", "20.000", "352.000", "n/a", "n/a", "n/a", "n/a", "empty"};
        QTest::newRow("field that recalled a word twice")
            << "dichotic2-01-field3" << QStringList{"рост", "рост", "1", "n/a", "20.000", "352.000", "13.000", "365.000", "1", "4", "response"};
        QTest::newRow("field heard wrong")
            << "dichotic1-01-field4" << QStringList{"мяч", "n/a", "0", "n/a", "20.000", "73.000", "16.000", "89.000", "1", "3", "response"};
        QTest::newRow("field left empty")
            << "dichotic1-02-field1" << QStringList{"n/a", "n/a", "0", "n/a", "56.000", "109.000", "n/a", "n/a", "n/a", "n/a", "empty"};
        QTest::newRow("problem typed, then the lock")
            << "math05" << QStringList{"863", "n/a", "1", "n/a", "0.000", "609.000", "302.000", "911.000", "1", "3", "response"};
        QTest::newRow("problem never touched")
            << "math09" << QStringList{"n/a", "n/a", "0", "n/a", "0.000", "609.000", "n/a", "n/a", "0", "n/a", "timeout"};
        QTest::newRow("calculator operation")
            << "calculator-lasm" << QStringList{"8; 27", "n/a", "n/a", "n/a", "0.000", "4209.000", "10.000", "4219.000", "1", "n/a", "response"};
        QTest::newRow("rule in force")
            << "rule-lasm-less-difference" << QStringList{"ЕСЛИ А<В, ТО А-В", "n/a", "1", "1", "0.000", "4249.000", "2.000", "4251.000", "1", "n/a", "response"};
        QTest::newRow("rule cancelled")
            << "rule-vadl-less-difference" << QStringList{"ЕСЛИ А<В, ТО А-В", "n/a", "0", "0", "0.000", "4249.000", "8.000", "4257.000", "1", "n/a", "response"};
        QTest::newRow("cancel")
            << "rule-vadl-cancel" << QStringList{"ОТМЕНИТЬ", "n/a", "n/a", "n/a", "0.000", "4249.000", "10.000", "4259.000", "1", "n/a", "response"};
    }

    void timesComeFromTheMonotonicClock()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, expected);
        const QStringList row = rowOf(rows, item);
        QCOMPARE(row.mid(ResponseColumn, 2) + row.mid(CorrectColumn), expected);
    }

    // The ten summary lines recounted from the item rows, and each that
    // disagrees reported with both figures.
    void aContradictionIsReportedWithBothFigures_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected"); // field:line:from items:from summary
        QTest::newRow("none: the lines counted by hand") << "" << 0 << "" << QStringList();
        QTest::newRow("a matrix") << "matrix01" << int(CorrectColumn) << "0" << QStringList{"RavenTotal:57:10:11"};
        QTest::newRow("the expression item") << "expression" << int(CorrectColumn) << "0"
                                             << QStringList{"MathCorrectTotal:47:8:9", "MathCorrectExpressions:48:4:5"};
        QTest::newRow("a word") << "dichotic2-01B2" << int(CorrectColumn) << "0" << QStringList{"DichS2EarA:43:1:2"};
        QTest::newRow("a word's ear") << "dichotic1-01A1" << int(StimulusColumn) << "свист (channel A, ear B)"
                                      << QStringList{"DichS1EarA:41:1:2", "DichS1EarB:42:3:2"};
        QTest::newRow("a rule") << "rule-lasm-equal-sum" << int(ItemIdColumn) << "rule-lasm-equal-difference"
                                << QStringList{"CalcCorrectCount:54:1:2"};
    }

    void aContradictionIsReportedWithBothFigures()
    {
        QFETCH(QString, item);
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        QList<QStringList> changed = rows;
        for (QStringList &row : changed)
            if (row[ItemIdColumn] == item)
                row[column] = value;
        QCOMPARE(summaryFromItems(changed).size(), 10);
        QStringList found;
        for (const SummaryMismatch &m : summaryMismatches(changed, summaryLines(run.record)))
            found << QStringLiteral("%1:%2:%3:%4").arg(m.field).arg(m.line).arg(m.fromItems).arg(m.fromSummary);
        QCOMPARE(found, expected);
    }

    // Today's file as written, with a byte-order mark or CR LF line ends, and
    // an earlier battery's file in today's columns.
    void everyFormWrittenIsRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected"); // empty: the rows as written
        QTest::addColumn<bool>("previous");
        QTest::newRow("as written") << bytes << QStringList() << false;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + bytes << QStringList() << false;
        QTest::newRow("CR LF") << QByteArray(bytes).replace("\n", "\r\n") << QStringList() << false;
        QTest::newRow("thirteen columns") << previousFile << previousInToday << true;
        QTest::newRow("thirteen columns, CR LF and a byte-order mark")
            << "\xEF\xBB\xBF" + QByteArray(previousFile).replace("\n", "\r\n") << previousInToday << true;
    }

    void everyFormWrittenIsRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QFETCH(bool, previous);
        const ReadItems read = readItemFile(bytes);
        QCOMPARE(read.problem, QString());
        QCOMPARE(read.form == ItemFileForm::Previous, previous);
        QStringList lines;
        for (const QStringList &row : read.rows)
            lines << row.join(u'\t');
        QCOMPARE(lines, expected.isEmpty() ? QString::fromUtf8(this->bytes).chopped(1).split(u'\n').mid(1) : expected);
    }

    void aFileThatIsNoItemFileIsRefusedWithTheReason_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("problem"); // %1: the line of `from`
        QTest::newRow("CR alone") << QByteArray("\n") << QByteArray("\r") << "has a line that ends in CR alone";
        QTest::newRow("another header") << QByteArray("ended_on") << QByteArray("end") << "has not the header of an item file";
        QTest::newRow("a decimal comma") << QByteArray("\t302.000\t") << QByteArray("\t302,000\t")
                                         << "line %1: response_time cannot be \"302,000\"";
        QTest::newRow("a cell missing") << QByteArray("\t863\tn/a\t863\t") << QByteArray("\t863\t863\t")
                                        << "line %1: 19 cells, not 20";
        QTest::newRow("in force neither 0 nor 1") << QByteArray("\t1\t1\t0.000\t4249.000\t") << QByteArray("\t1\tyes\t0.000\t4249.000\t")
                                                  << "line %1: in_force cannot be \"yes\"";
        QTest::newRow("Windows-1251") << QByteArray("плеть") << QByteArray("\xEF\xEB\xE5\xF2\xFC") << "is not UTF-8";
    }

    void aFileThatIsNoItemFileIsRefusedWithTheReason()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, problem);
        const ReadItems read = readItemFile(QByteArray(bytes).replace(from, to));
        QCOMPARE(read.problem, problem.contains(u'%') ? problem.arg(lineOf(bytes, from)) : problem);
        QVERIFY(read.rows.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ItemDataTest)
#include "tst_item_data.moc"
