// The speed of the matrices window: decoding its fifteen pictures, creating
// it, and its own "Дальше" with the step to the completion window (the step
// that opens it is measured with the others in bench_battery).
#include "engine/RavenKey.h"
#include "forms/Sequence.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "windows/JpegImage.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class RavenBench : public QObject
{
    Q_OBJECT

    Sequence run;
    QList<QByteArray> pictures;

private slots:
    void initTestCase()
    {
        QApplication::setFont(Form::textFont(TextStyle::Plain));
        run.session().record.InfoSurname = QStringLiteral("Иванова");
        run.session().record.InfoName = QStringLiteral("Анна");
        delete new TForm13(run.session()); // the one-time font and style set-up belongs to start-up
        TForm12::picture(1); // registers the pictures
        for (int item = 1; item <= ravenItemCount; ++item) {
            QFile file(QStringLiteral(":/raven/item%1.jpg").arg(item, 2, 10, QLatin1Char('0')));
            QVERIFY(file.open(QIODevice::ReadOnly));
            pictures << file.readAll();
        }
    }

    void decodeFifteenPictures()
    {
        QBENCHMARK {
            for (const QByteArray &bytes : pictures)
                QVERIFY(!decodeJpeg(bytes).isNull());
        }
    }

    void createWindow()
    {
        QBENCHMARK {
            delete new TForm12(run.session());
        }
    }

    void pressDalsheToTForm13()
    {
        QBENCHMARK {
            auto *window = run.create<TForm12>();
            window->present();
            for (int item = 0; item < ravenItemCount; ++item)
                window->Edits[item]->setText(QString::number(ravenKey[item]));
            QCoreApplication::processEvents();
            window->Button1->click();
            QCoreApplication::processEvents();
            delete currentInstance<TForm13>.data();
            delete window;
        }
    }
};

QTEST_MAIN(RavenBench)
#include "bench_raven.moc"
