// Writing the resume journal at its largest, as the battery does at every
// accepted window and every answer in the listening and mathematics windows:
// encoded, then written to a new file, synced to the disk and renamed into
// place, in the folder where the battery keeps it, on this machine's disk.
// It must not delay the next window perceptibly: under 5 ms.
#include "engine/JournalFile.h"
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

    void encodeWriteAndSync()
    {
        const QString path = journalPathIn(folder->path());
        QBENCHMARK {
            QCOMPARE(writeJournal(path, journal), std::nullopt);
        }
    }
};

QTEST_GUILESS_MAIN(JournalBench)
#include "bench_journal.moc"
