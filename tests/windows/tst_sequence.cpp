#include "forms/Sequence.h"
#include "support/WindowSupport.h"
#include "windows/Form.h"

#include <QLineEdit>
#include <QTest>
#include <algorithm>

// The run from window to window as the sequence drives it: the order, the
// one branch, the subject handed over and each window left behind deleted.
class SequenceTest : public QObject
{
    Q_OBJECT

private slots:
    void forwardWalksTheRun_data()
    {
        QTest::addColumn<QString>("hasSiblings");
        QTest::addColumn<QStringList>("windows");
        const QStringList all = {"TForm1", "TForm2", "TForm4",  "TForm11", "TForm5",  "TForm6",
                                 "TForm10", "TForm7", "TForm8", "TForm9",  "TForm12", "TForm13"};
        QTest::newRow("siblings") << QStringLiteral("1") << all;
        QStringList skipping = all;
        skipping.removeOne(QStringLiteral("TForm2"));
        QTest::newRow("no siblings") << QStringLiteral("-1") << skipping;
    }

    void forwardWalksTheRun()
    {
        QFETCH(QString, hasSiblings);
        QFETCH(QStringList, windows);
        test::resetRun();
        test::MessageLog messages;
        test::record().InfoSurname = QStringLiteral("Иванова");
        test::record().InfoName = QStringLiteral("Анна");
        test::record().InfoHasSiblings = hasSiblings;

        QPointer<Form> window = test::runUnderTest().start();
        QStringList met = {QString::fromLatin1(window->metaObject()->className())};
        while (sequence::stepOf(window) != sequence::order().last()) {
            const QPointer<Form> left = window;
            window = test::runUnderTest().forward(window);
            met << QString::fromLatin1(window->metaObject()->className());
            QVERIFY(window->isVisible());
            const auto fields = window->findChildren<QLineEdit *>();
            QVERIFY2(std::any_of(fields.begin(), fields.end(),
                                 [](const QLineEdit *f) { return f->text() == QStringLiteral("Иванова Анна"); }),
                     qPrintable(met.last() + QStringLiteral(" shows no subject")));
            QTRY_VERIFY2(!left, qPrintable(met.last() + QStringLiteral(": the window before is not deleted")));
        }
        QCOMPARE(met, windows);
        QVERIFY(messages.texts.isEmpty());
        test::resetRun();
    }
};

QTEST_MAIN(SequenceTest)
#include "tst_sequence.moc"
