#include "collect/CsvText.h"
#include "engine/ItemFile.h"
#include "support/CollectSupport.h"
#include "support/EngineSupport.h"
#include "support/SimulatedRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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
        QVERIFY2(outcome.status == 0 && !outcome.errors.contains(QStringLiteral(" item ")), qPrintable(outcome.errors));

        const QList<QStringList> rows = test::readCsv(test::readBytes(table), u',');
        QCOMPARE(rows[0], QStringList({QStringLiteral("subject"), QStringLiteral("run")}) + itemColumnNames());
        QList<QStringList> expected;
        for (const auto &[name, subject, run] : {std::tuple("Ёлкина_Ольга_1", "S0001", "1"), std::tuple("Ёлкина_Ольга_2", "S0001", "2"),
                                                 std::tuple("вторая группа/Ким_Ли_1", "S0002", "1")})
            for (const QStringList &cells : readItemFile(test::readBytes(path(QString::fromUtf8(name) + QStringLiteral(".items.tsv")))).rows)
                expected << QStringList{QLatin1String(subject), QLatin1String(run)} + cells;
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
