#include "engine/StudySettings.h"
#include "forms/Unit1.h"
#include "forms/Unit13.h"
#include "support/WindowSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

// The study's settings file: read, refused whole when broken, and
// shown on the first and the completion window.
class StudySettingsTest : public QObject
{
    Q_OBJECT

    const StudySettings builtIn;

    static SettingsFile write(const QByteArray &bytes)
    {
        QFile file(QStringLiteral("study.ini"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write study.ini");
        return {file.fileName(), true};
    }

private slots:
    void init() { test::settings() = StudySettings{}; }

    void aMissingFileIsReportedOnlyWhenNamed()
    {
        test::WorkingDirectory dir;
        QCOMPARE(loadStudySettings({QStringLiteral("cogbattery.ini"), false}, test::settings()), QString());
        const QString problem = loadStudySettings({QStringLiteral("named.ini"), true}, test::settings());
        QVERIFY2(problem.contains(QDir::toNativeSeparators(QDir(dir.path()).filePath(QStringLiteral("named.ini")))), qPrintable(problem));
        QCOMPARE(test::settings().welcomeHeading, builtIn.welcomeHeading);
    }

    // The heading is shown on the first window.
    void textsAreReadAsWritten()
    {
        test::WorkingDirectory dir;
        // Notepad's byte-order mark, a comment, an unknown key without a
        // value, a comma in the unquoted heading, a truth value capitalised.
        QCOMPARE(loadStudySettings(write("\xEF\xBB\xBF; study of 2026\r\n"
                                         "contact_email = results@study.example\r\n"
                                         "unknown_key =\n"
                                         "item_data = True\n"
                                         "resume = TRUE\n"
                                         "resume_hours = 3\n"
                                         "welcome_heading = Кафедра психологии, добро пожаловать!\n"),
                                   test::settings()),
                 QString());
        const QString heading = QStringLiteral("Кафедра психологии, добро пожаловать!");
        QCOMPARE(test::settings().welcomeHeading, heading);
        QCOMPARE(test::settings().contactEmail, QStringLiteral("results@study.example"));
        QVERIFY(test::settings().itemData);
        QVERIFY(test::settings().resume);
        QCOMPARE(test::settings().resumeHours, 3);
        test::resetRun();
        QCOMPARE((test::makeWindow<TForm1>())->findChild<QLabel *>(QStringLiteral("Label1"))->text(), heading);
        test::resetRun();
    }

    void aBrokenFileIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("stray line") << QByteArray("contact_email = a@b.ru\nwelcome heading\n")
                                    << QStringLiteral("строка 2 («welcome heading»)");
        QTest::newRow("open section") << QByteArray("[study\ncontact_email = a@b.ru\n")
                                      << QStringLiteral("строка 1 («[study»)");
        QTest::newRow("Windows-1251") << QByteArray("contact_email = a@b.ru\nwelcome_heading = \xCF\xF0\xE8\xE2\xE5\xF2\n")
                                      << QStringLiteral("UTF-8: строка 2");
        // A byte that starts a sequence and ends a line or the file.
        QTest::newRow("Latin-1 letter ending a line") << QByteArray("welcome_heading = Bienvenue au caf\xE9\ncontact_email = a@b.ru\n")
                                                      << QStringLiteral("UTF-8: строка 1");
        QTest::newRow("Windows-1251 letter ending a line") << QByteArray("contact_email = a@b.ru\nwelcome_heading = Dobro \xEF\n")
                                                           << QStringLiteral("UTF-8: строка 2");
        QTest::newRow("comment ending in such a byte") << QByteArray("; \xD1\ncontact_email = a@b.ru\n")
                                                       << QStringLiteral("UTF-8: строка 1");
        QTest::newRow("random bytes") << QByteArray("\x8f\x01\xfe\x00\x13\n\xc3\x28", 8)
                                      << QStringLiteral("UTF-8: строка 1");
        QTest::newRow("a folder") << QByteArray() << QStringLiteral("не читается");
        QTest::newRow("upload over plain http") << QByteArray("contact_email = a@b.ru\nupload_url = http://cloud.example.org/s/k3Xw\n")
                                                << QStringLiteral("https://");
        QTest::newRow("hours not a number") << QByteArray("contact_email = a@b.ru\nresume_hours = 12h\n")
                                            << QStringLiteral("resume_hours = «12h»");
        QTest::newRow("no hours") << QByteArray("contact_email = a@b.ru\nresume_hours = 0\n")
                                  << QStringLiteral("resume_hours = «0»");
    }

    void aBrokenFileIsReportedAndChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        test::WorkingDirectory dir;
        const SettingsFile file = bytes.isEmpty() && QDir().mkdir(QStringLiteral("study.ini"))
            ? SettingsFile{QStringLiteral("study.ini"), false}
            : write(bytes);
        const QString problem = loadStudySettings(file, test::settings());
        QVERIFY2(problem.contains(reason) && problem.contains(QStringLiteral("study.ini")), qPrintable(problem));
        QCOMPARE(test::settings().contactEmail, QString());
    }

    // The completion window sends the subject to the study's address, on a
    // line of its own that never breaks (at a hyphen or anywhere, however
    // narrow the window); without one, to the address the organisers gave:
    // the program has none of its own.
    void theCompletionWindowGivesTheStudysAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("none") << "";
        QTest::newRow("with a hyphen") << "review.study@lab-test.example.org";
    }

    void theCompletionWindowGivesTheStudysAddress()
    {
        QFETCH(QString, address);
        test::resetRun();
        test::settings().contactEmail = address;
        const auto *label = (test::makeWindow<TForm13>())->findChild<QLabel *>(QStringLiteral("Label6"));
        QTextDocument shown;
        shown.setDefaultFont(label->font());
        shown.setHtml(label->text());
        const QString text = shown.toPlainText();
        test::resetRun();
        if (address.isEmpty()) {
            QVERIFY2(!text.contains(u'@'), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("по электронному адресу, который вам дали организаторы исследования")),
                     qPrintable(text));
            return;
        }
        QVERIFY2(text.split(u'\n').contains(address), qPrintable(text));
        const int start = int(text.indexOf(address));
        const QTextBlock block = shown.findBlock(start);
        const auto lineOf = [&](int at) { return block.layout()->lineForTextPosition(at - block.position()).lineNumber(); };
        for (int width = 240; width <= 1000; width += 20) {
            shown.setTextWidth(width);
            (void)shown.size(); // lays the text out
            QVERIFY2(lineOf(start) >= 0 && lineOf(start) == lineOf(start + int(address.size()) - 1),
                     qPrintable(QString::number(width)));
        }
    }
};

QTEST_MAIN(StudySettingsTest)
#include "tst_study_settings.moc"
