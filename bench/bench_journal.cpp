// Writing the resume journal at its largest, as the battery does at every
// accepted window and every answer in the listening and mathematics windows,
// in the folder where the battery keeps it, on this machine's disk. The
// window's thread only hands the state over: it must not delay the next
// window perceptibly, under 5 ms. The journal's own thread encodes it, writes
// a new file, syncs it and renames it into place, and syncs the folder: the
// time until the state would survive a power cut.
#include "engine/JournalFile.h"
#include "engine/JournalWriter.h"
#include "support/JournalSupport.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class JournalBench : public QObject
{
    Q_OBJECT

    const Journal journal = test::largestJournal();
    std::unique_ptr<QTemporaryDir> folder;

private slots:
    void initTestCase()
    {
        const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QVERIFY(QDir().mkpath(appData));
        folder = std::make_unique<QTemporaryDir>(appData + QStringLiteral("/journal-XXXXXX"));
        QVERIFY(folder->isValid());
        qInfo("%lld bytes in %s", qint64(journalBytes(journal).size()), qPrintable(folder->path()));
    }

    void encode()
    {
        QBENCHMARK {
            QVERIFY(!journalBytes(journal).isEmpty());
        }
    }

    // The window's thread: a copy of the run's state handed over.
    void handOver()
    {
        JournalWriter writer(journalPathIn(folder->path()));
        QBENCHMARK {
            writer.write(journal);
        }
        QCOMPARE(writer.drain(), std::nullopt);
    }

    // From the hand-over to the journal on the disk.
    void untilDurable()
    {
        JournalWriter writer(journalPathIn(folder->path()));
        QBENCHMARK {
            writer.write(journal);
            QCOMPARE(writer.drain(), std::nullopt);
        }
    }
};

QTEST_GUILESS_MAIN(JournalBench)
#include "bench_journal.moc"
