#include "engine/Cp1251.h"
#include "engine/Failure.h"
#include "engine/ResultsFile.h"
#include "support/EngineSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// The 69-line results file: its lines, formats, name and safe writing.
class ResultsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::useRussianSettings(); }

    void anEmptyRecordStillHas69Lines()
    {
        const QByteArray content = resultsFileContent(RunRecord{});
        QCOMPARE(content.count("\r\n"), 69);
        QCOMPARE(content.count('\n'), 69);
        QVERIFY(content.endsWith("\r\n"));
        const auto lines = resultsLines(RunRecord{});
        QCOMPARE(lines[16], QStringLiteral("0"));                       // birth order
        for (int line = 18; line <= 27; ++line)
            QCOMPARE(lines[line - 1], QString());                       // sibling rows
        QCOMPARE(lines[27] + lines[28] + lines[29], QStringLiteral("000")); // sibling counts
    }

    void fieldsGoToTheirLines()
    {
        RunRecord r;
        r.InfoSurname = QStringLiteral("Иванова");
        r.InfoAgeDays = 5658;
        r.InfoAgeYears = 16;
        r.SibDescription[9] = QStringLiteral("брат");
        r.DichS1Coef = -12.5;
        r.DichS2Coef = 100.0 / 3;
        r.ExprFormulaUse = QStringLiteral("2");
        r.RavenBlock5 = 3;
        r.FinalGeometryMark = QStringLiteral("5");
        const auto lines = resultsLines(r);
        QCOMPARE(lines[0], QStringLiteral("Иванова"));
        QCOMPARE(lines[14], QStringLiteral("5658"));
        QCOMPARE(lines[15], QStringLiteral("16"));
        QCOMPARE(lines[26], QStringLiteral("брат"));
        QCOMPARE(lines[44], QStringLiteral("-12,5"));
        QCOMPARE(lines[45], QStringLiteral("33,3333333333333"));
        QCOMPARE(lines[54], QStringLiteral("2"));
        QCOMPARE(lines[61], QStringLiteral("3"));
        QCOMPARE(lines[68], QStringLiteral("5"));
        QCOMPARE(resultLines()[0].field, QStringLiteral("InfoSurname"));
        QCOMPARE(resultLines()[17].field, QStringLiteral("SibDescription1"));
        QCOMPARE(resultLines()[54].field, QStringLiteral("ExprFormulaUse"));
        QCOMPARE(resultLines()[68].field, QStringLiteral("FinalGeometryMark"));
    }

    void lineBreaksInAFieldBecomeBlanks()
    {
        RunRecord r;
        r.FinalCareer = QStringLiteral("врач\r\nили\nучитель\rили\u2028пилот");
        r.InfoSchool = QStringLiteral("школа\n");
        QCOMPARE(resultsLines(r)[65], QStringLiteral("врач или учитель или пилот"));
        QCOMPARE(resultsLines(r)[6], QStringLiteral("школа "));
        QCOMPARE(resultsFileContent(r).count('\n'), 69);
        QCOMPARE(resultsFileContent(r).count('\r'), 69);
    }

    void textsAreWrittenInWindows1251()
    {
        RunRecord r;
        r.InfoSurname = QStringLiteral("Ёлкин");
        QVERIFY(resultsFileContent(r).startsWith("\xA8\xEB\xEA\xE8\xED\r\n"));
    }

    void fileNameIsSurnameNameAndSuffix()
    {
        RunRecord r;
        r.InfoSurname = QStringLiteral("А");
        r.InfoName = QStringLiteral("Б");
        QCOMPARE(resultsFileName(r), QStringLiteral("А_Б_1.txt"));
    }

    void namesThatCannotFormAFileName_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain") << "Иванов" << "Иван" << true;
        QTest::newRow("blanks and hyphen") << " Иванов-Петров " << "Анна Мария" << true;
        QTest::newRow("ё and №") << "Ёлкин №1" << "Пётр" << true;
        for (const char *c : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|"})
            QTest::newRow(c) << QStringLiteral("Ива") + QLatin1String(c) + QStringLiteral("нов") << "Иван" << false;
        QTest::newRow("tab") << "Иванов" << "Ив\tан" << false;
        QTest::newRow("line break") << "Иванов\n" << "Иван" << false;
        QTest::newRow("not in Windows-1251") << "Ωmega" << "Иван" << false;
        QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80") << "Иван" << false;
        // Cyrillic takes two bytes in UTF-8 file names: 120 + "_" + name + "_1.txt"
        QTest::newRow("255 bytes") << QString(60, QChar(u'Я')) << QString(128, u'a') << true;
        QTest::newRow("256 bytes") << QString(60, QChar(u'Я')) << QString(129, u'a') << false;
        QTest::newRow("long and a slash") << QString(200, QChar(u'Я')) << "/" << false;
    }

    void namesThatCannotFormAFileName()
    {
        QFETCH(QString, surname);
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        const FileNameFault fault = fileNameFault(surname, name, false);
        QCOMPARE(fault == FileNameFault::None, accepted);
        // Too long is a fault of its own only for a name that can be saved.
        QCOMPARE(fault == FileNameFault::Length, QByteArray(QTest::currentDataTag()) == "256 bytes");
    }

    // A later save of the same run replaces its own file whole; a name taken
    // by anything else, a folder or a link included, is never written.
    void aRunRewritesItsOwnFileAndNoOther()
    {
        test::WorkingDirectory dir;
        RunRecord r;
        r.InfoSurname = QStringLiteral("А");
        r.InfoName = QStringLiteral("Б");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("А_Б_1.txt")));
        QVERIFY(QFile::link(QStringLiteral("nowhere"), QStringLiteral("А_Б_2.txt")));
        const SavedResults first = writeResultsFile(r);
        QCOMPARE(first.path, QDir(dir.path()).filePath(QStringLiteral("А_Б_3.txt")));

        r.FinalCareer = QStringLiteral("врач");
        QCOMPARE(writeResultsFile(r, first).path, first.path);
        QFile written(first.path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), resultsFileContent(r));
        QVERIFY(!QFileInfo::exists(QStringLiteral("nowhere")));
    }

    // On a full disk an earlier file of the run stays whole.
    void aFailedWriteThrowsAndLeavesTheEarlierFile()
    {
        SKIP_WITHOUT_FULL_DISK();
        test::WorkingDirectory dir;
        test::HomeFolder home;
        RunRecord r;
        r.InfoSurname = QStringLiteral("А");
        r.InfoName = QStringLiteral("Б");
        const SavedResults first = writeResultsFile(r);
        r.FinalCareer = QStringLiteral("врач");
        {
            test::FullDisk full;
            QVERIFY_THROWS_EXCEPTION(Failure, writeResultsFile(r, first));
            QVERIFY_THROWS_EXCEPTION(Failure, writeResultsFile(r));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("А_Б_1.txt")});
        QCOMPARE(test::resultsFileLines(first.path).value(65), QString());
        QCOMPARE(QDir(home.documents()).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(ResultsFileTest)
#include "tst_results_file.moc"
