#include "engine/Failure.h"
#include "engine/ItemFile.h"
#include "engine/ItemIds.h"
#include "engine/ItemRecount.h"
#include "engine/ResultsFile.h"
#include "engine/StudySettings.h"
#include "support/EngineSupport.h"
#include "support/SimulatedRun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString header = QStringLiteral("session\tbattery_version\ttask\ttrial\titem\tstimulus\tresponse\t"
                                      "correct_response\tcorrect\tonset\tresponse_time\tchanges\tended_on");

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
        for (const QStringList &row : rows) {
            QCOMPARE(row.size(), 13);
            QCOMPARE(row[SessionColumn], rows[0][SessionColumn]);
            QCOMPARE(row[BatteryVersionColumn], QStringLiteral("1.0.0"));
            QCOMPARE(row[TrialColumn].toInt(), ++perTask[row[TaskColumn]]);
        }
        // 5 tests and 12 questions, 2 series of 13 recordings of 8 words, 4 results, 10 presses.
        QCOMPARE(perTask, (QHash<QString, int>{{QStringLiteral("handedness"), 17}, {QStringLiteral("expression"), 1},
                                               {QStringLiteral("dichotic"), 208}, {QStringLiteral("math"), 15},
                                               {QStringLiteral("calculator"), 4}, {QStringLiteral("rules"), 10},
                                               {QStringLiteral("matrices"), 15}}));
        // Tasks in the order met.
        QCOMPARE(rows[17][TaskColumn], QStringLiteral("expression"));
        QCOMPARE(rows.constLast()[ItemIdColumn], QStringLiteral("matrix15"));

        ItemRow typed;
        typed.response = QStringLiteral("12\tслово\r\n");
        QCOMPARE(itemCells(QString(), {typed})[0][ResponseColumn], QStringLiteral("12 слово  "));
    }

    void bothFilesGoToOnePlaceOrNeither_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("there"); // a file in the working directory before
        QTest::addColumn<QString>("saved"); // empty: nothing saved anywhere
        QTest::newRow("a free name") << "Ёлкина" << "" << "Ёлкина_Ольга_1.txt";
        QTest::newRow("another run's item file takes its name") << "Ёлкина" << "Ёлкина_Ольга_1.items.tsv" << "Ёлкина_Ольга_2.txt";
        // 253 bytes for the results file, 259 for the item file: no folder takes it.
        QTest::newRow("an item file name too long") << QString(118, u'ё') << "" << "";
    }

    void bothFilesGoToOnePlaceOrNeither()
    {
        QFETCH(QString, surname);
        QFETCH(QString, there);
        QFETCH(QString, saved);
        studySettings().itemData = true; // the first window refuses a name too long for either file
        QCOMPARE(fileNameFault(surname, QStringLiteral("Ольга")) == FileNameFault::Length, saved.isEmpty());
        studySettings().itemData = false;
        QCOMPARE(itemFilePath(QStringLiteral("/data/Ёлкина_Ольга_3.txt")), QStringLiteral("/data/Ёлкина_Ольга_3.items.tsv"));
        const test::WorkingDirectory working;
        const test::HomeFolder home;
        if (!there.isEmpty())
            QVERIFY(QFile(there).open(QIODevice::WriteOnly));
        RunRecord record = run.record;
        record.InfoSurname = surname;
        try {
            QCOMPARE(QFileInfo(writeResultsAndItems(record, run.log).path).fileName(), saved);
            QCOMPARE(readItemFile(contentOf(itemFilePath(saved))).rows.size(), rows.size());
        } catch (const Failure &) {
            QVERIFY(saved.isEmpty());
        }
        QStringList expected{there, saved, saved.isEmpty() ? QString() : itemFilePath(saved)};
        expected.removeAll(QString());
        expected.sort();
        QCOMPARE(QDir().entryList(QDir::Files, QDir::Name), expected);
        QCOMPARE(QDir(home.documents()).entryList(QDir::Files), QStringList());
    }

    void timesComeFromTheMonotonicClock_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("expected"); // response, correct, onset, response_time, changes, ended_on
        QTest::newRow("problem typed in three changes, then the lock")
            << "math05" << QStringList{"863", "1", "0.000", "302.000", "3", "timeout"};
        QTest::newRow("problem never touched") << "math09" << QStringList{"n/a", "0", "0.000", "n/a", "0", "timeout"};
        QTest::newRow("word typed after its play")
            << "dichotic2-01B2" << QStringList{"плеть", "1", "20.000", "9.000", "5", "response"};
        QTest::newRow("word not recalled") << "dichotic2-01A1" << QStringList{"n/a", "0", "20.000", "n/a", "n/a", "empty"};
        QTest::newRow("calculator operation") << "calculator-lasm" << QStringList{"8; 27", "n/a", "10.000", "n/a", "n/a", "response"};
        QTest::newRow("cancel") << "rule-vadl-cancel" << QStringList{"ОТМЕНИТЬ", "n/a", "10.000", "n/a", "n/a", "response"};
        QTest::newRow("expression on the hand and eye window")
            << "expression" << QStringList{"15", "1", "0.000", "53.000", "2", "response"};
    }

    void timesComeFromTheMonotonicClock()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, expected);
        const QStringList row = rowOf(rows, item);
        QCOMPARE((QStringList{row[ResponseColumn], row[CorrectColumn], row[OnsetColumn], row[ResponseTimeColumn],
                              row[ChangesColumn], row[EndedOnColumn]}),
                 expected);
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

    void aFileThatIsNoItemFileIsRefusedWithTheReason_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("problem");
        QTest::newRow("byte-order mark") << QByteArray("session") << QByteArray("\xEF\xBB\xBFsession")
                                         << "is not tab-separated UTF-8 with lines ending in LF alone";
        QTest::newRow("CR LF") << QByteArray("\n") << QByteArray("\r\n") << "is not tab-separated UTF-8 with lines ending in LF alone";
        QTest::newRow("another header") << QByteArray("ended_on") << QByteArray("end") << "has not the header of an item file";
        QTest::newRow("a decimal comma") << QByteArray("\t302.000\t") << QByteArray("\t302,000\t")
                                         << "line 232: response_time cannot be \"302,000\"";
        QTest::newRow("a cell missing") << QByteArray("\t863\t863\t1\t") << QByteArray("\t863\t1\t") << "line 232: 12 cells, not 13";
        QTest::newRow("Windows-1251") << QByteArray("плеть") << QByteArray("\xEF\xEB\xE5\xF2\xFC") << "is not UTF-8";
    }

    void aFileThatIsNoItemFileIsRefusedWithTheReason()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, problem);
        const ReadItems read = readItemFile(QByteArray(bytes).replace(from, to));
        QCOMPARE(read.problem, problem);
        QVERIFY(read.rows.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ItemDataTest)
#include "tst_item_data.moc"
