#include "engine/ItemFile.h"
#include "engine/JournalFile.h"
#include "engine/JournalWriter.h"
#include "engine/ItemRows.h"
#include "support/JournalSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// The journal of a run in progress: what it keeps comes back whole, a torn
// write never passes for a journal, and only this battery's own, young enough
// journal is taken up; any other is kept aside, never deleted.
class JournalTest : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    const QDateTime written = test::largestJournal().written;

    QString path() const { return journalPathIn(folder.path()); }

    // The item file a log gives: what the study gets of it.
    static QByteArray itemFileOf(const ItemLog &log, const RunRecord &record)
    {
        return itemFileContent(itemCells(log.session(), itemRows(log, record)));
    }

private slots:
    void init() { QDir(folder.path()).removeRecursively(), QDir().mkpath(folder.path()); }

    void keepsEveryFieldAndItem()
    {
        const Journal kept = test::largestJournal();
        const ReadJournal back = readJournal(journalBytes(kept));
        QVERIFY2(back.journal, qPrintable(back.problem));
        const Journal &journal = *back.journal;
        QVERIFY(journal.record == test::everyFieldSet());
        QCOMPARE(std::tuple(journal.batteryVersion, journal.written, journal.writtenMonotonic,
                            journal.spentMilliseconds, journal.tasksDone),
                 std::tuple(kept.batteryVersion, kept.written, kept.writtenMonotonic, kept.spentMilliseconds,
                            kept.tasksDone));
        QVERIFY(journal.progress == kept.progress && journal.interruptions == kept.interruptions);

        QVERIFY(journal.items);
        QCOMPARE(journal.items->session(), kept.items->session());
        const QByteArray items = itemFileOf(*kept.items, kept.record);
        QCOMPARE(itemFileOf(*journal.items, journal.record), items);

        // Taken up by a new process: times move with its clock, the item file stays.
        ItemLog goingOn = *journal.items;
        continueItemLog(goingOn, kept.writtenMonotonic, 250);
        QCOMPARE(goingOn.shownAt(QStringLiteral("math"))->at, kept.items->shownAt(QStringLiteral("math"))->at - kept.writtenMonotonic + 250);
        QCOMPARE(itemFileOf(goingOn, journal.record), items);

        Journal withoutItems = kept;
        withoutItems.items.reset();
        QVERIFY(!readJournal(journalBytes(withoutItems)).journal->items);
    }

    // A power cut can stop a write anywhere; a byte can change on the disk.
    void aTornOrChangedJournalIsNone()
    {
        const QByteArray whole = journalBytes(test::largestJournal());
        for (qsizetype length = 0; length < whole.size(); ++length)
            if (readJournal(whole.left(length)).journal)
                QFAIL(qPrintable(QStringLiteral("the first %1 of %2 bytes read as a journal").arg(length).arg(whole.size())));
        for (qsizetype at = 0; at < whole.size(); at += 97) {
            QByteArray changed = whole;
            changed[at] = char(changed[at] ^ 0x20);
            QVERIFY2(!readJournal(changed).journal, qPrintable(QString::number(at)));
        }
        QVERIFY(!readJournal(whole + '\n').journal);
    }

    void isWrittenWholeForItsUserAlone()
    {
        QFile::remove(path());
        Journal journal = test::largestJournal();
        QCOMPARE(writeJournal(path(), journal), std::nullopt);
        journal.tasksDone = 5;
        QCOMPARE(writeJournal(path(), journal), std::nullopt);
        QCOMPARE(test::fileBytes(path()), journalBytes(journal));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("journal")});
#ifdef Q_OS_UNIX
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path()).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0600u);
#endif
        // A write cut off by a power cut leaves the writer's temporary file
        // beside it: the journal's bytes too. A journal set aside stays.
        const QString setAside = QStringLiteral("journal.expired-20261208-122805");
        for (const QString &name : {QStringLiteral("journal.Ab12Cd"), setAside})
            QVERIFY(QFile::copy(path(), folder.filePath(name)));
        QVERIFY(removeJournal(path()));
        QVERIFY(!QFile::exists(path()));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{setAside});
        QVERIFY(removeJournal(path()));
    }

    void isTakenUpOnlyWhenItsOwn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("version");
        QTest::addColumn<qint64>("ageSeconds");
        QTest::addColumn<bool>("othersMayRead");
        QTest::addColumn<int>("standing");
        QTest::addColumn<QString>("why");
        const QByteArray journal = journalBytes(test::largestJournal());
        const auto row = [&](const char *name, const QByteArray &bytes, const char *version, qint64 age, bool shared,
                             JournalStanding standing, const char *why) {
            QTest::newRow(name) << bytes << QString::fromLatin1(version) << age << shared << int(standing)
                                << QString::fromUtf8(why);
        };
        row("none", {}, "9.9.9", 0, false, JournalStanding::Absent, "");
        row("just written", journal, "9.9.9", 0, false, JournalStanding::Resumable, "");
        row("a second under 12 hours", journal, "9.9.9", 12 * 3600 - 1, false, JournalStanding::Resumable, "");
        row("12 hours old", journal, "9.9.9", 12 * 3600, false, JournalStanding::Expired, "старше 12 ч");
        row("dated after now", journal, "9.9.9", -60, false, JournalStanding::Expired, "позже");
        row("another version", journal, "10.0.0", 0, false, JournalStanding::OtherVersion, "версией 9.9.9");
        row("torn", journal.left(journal.size() / 2), "9.9.9", 0, false, JournalStanding::Unreadable,
            "не до конца");
        row("not a journal", "[General]\nresume=true\n", "9.9.9", 0, false, JournalStanding::Unreadable,
            "не журнал");
#ifdef Q_OS_UNIX
        row("readable by others", journal, "9.9.9", 0, true, JournalStanding::NotOwned, "другому пользователю");
#endif
    }

    void isTakenUpOnlyWhenItsOwn()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, version);
        QFETCH(qint64, ageSeconds);
        QFETCH(bool, othersMayRead);
        QFETCH(int, standing);
        QFETCH(QString, why);
        if (!bytes.isEmpty()) {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | (othersMayRead ? QFileDevice::ReadOther : QFileDevice::Permissions()));
        }
        const FoundJournal found = findJournal(path(), version, written.addSecs(ageSeconds), 12);
        QCOMPARE(int(found.standing), standing);
        QVERIFY2(found.why.contains(why), qPrintable(found.why));
        if (found.standing == JournalStanding::Resumable) {
            QCOMPARE(found.journal->record.InfoSurname, QStringLiteral("Иванова"));
            QCOMPARE(found.keptAs, QString());
            QVERIFY(QFile::exists(path()));
        } else if (found.standing != JournalStanding::Absent) {
            QVERIFY(!found.journal);
            QVERIFY(!QFile::exists(path()));
            QCOMPARE(test::fileBytes(found.keptAs), bytes);
            QVERIFY2(QFileInfo(found.keptAs).absolutePath() == QFileInfo(path()).absolutePath(), qPrintable(found.keptAs));
        }
    }

    // The window hands each state to the writer's thread and goes on; what
    // reaches the disk in the end is the newest state, or, once the journal is
    // removed, nothing: not even a write that was under way or waiting then.
    void theWriterLeavesTheNewestStateOrNothing_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("journalLeft");
        QTest::newRow("drained") << "drain" << true;
        QTest::newRow("program ends") << "destroy" << true;
        QTest::newRow("subject withdraws") << "remove" << false;
    }

    void theWriterLeavesTheNewestStateOrNothing()
    {
        QFETCH(QString, ending);
        QFETCH(bool, journalLeft);
        Journal journal = test::largestJournal();
        // Rounds, so that the ending meets a write under way in some (a
        // synced write takes milliseconds) and a state still waiting in others.
        for (int round = 1; round <= 10; ++round) {
            auto writer = std::make_unique<JournalWriter>(path());
            for (journal.tasksDone = 1; journal.tasksDone <= round; ++journal.tasksDone) {
                writer->write(journal);
                QThread::usleep(round * 200);
            }
            --journal.tasksDone;
            if (ending == QLatin1String("drain")) {
                QCOMPARE(writer->drain(), std::nullopt);
                QCOMPARE(test::fileBytes(path()), journalBytes(journal));
            } else if (ending == QLatin1String("remove")) {
                QVERIFY(writer->remove());
                writer->write(journal);
            }
            writer.reset();
            QCOMPARE(test::fileBytes(path()), journalLeft ? journalBytes(journal) : QByteArray());
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                     journalLeft ? QStringList{QStringLiteral("journal")} : QStringList());
        }
    }

    // A write that fails says why, and the run goes on without it.
    void aFailedWriteSaysWhy()
    {
        QFile blocker(folder.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        JournalWriter writer(journalPathIn(blocker.fileName()));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("was not written")));
        writer.write(test::largestJournal());
        const std::optional<QString> failed = writer.drain();
        QVERIFY(failed && !failed->isEmpty());
    }

    // A second journal set aside the same second keeps the first.
    void aSetAsideJournalIsNeverReplaced()
    {
        QStringList kept;
        for (const QByteArray bytes : {QByteArray("one"), QByteArray("two")}) {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            kept << findJournal(path(), QStringLiteral("9.9.9"), written, 12).keptAs;
        }
        QCOMPARE(test::fileBytes(kept[0]), QByteArray("one"));
        QCOMPARE(test::fileBytes(kept[1]), QByteArray("two"));
    }
};

QTEST_GUILESS_MAIN(JournalTest)
#include "tst_journal.moc"
