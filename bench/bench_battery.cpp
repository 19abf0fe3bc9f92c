// The speed of what the subject waits for: each window's forward step (the
// next window created, filled with the subject and shown) and the results
// file written, flushed and renamed into place.
#include "engine/ResultsFile.h"
#include "forms/Sequence.h"
#include "forms/Unit1.h"
#include "forms/Unit10.h"
#include "forms/Unit11.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "forms/Unit9.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class BatteryBench : public QObject
{
    Q_OBJECT

    Sequence run;

    // What a forward step does beyond the checks: create, fill, show.
    template <class T>
    void step()
    {
        QBENCHMARK {
            auto *next = new T(run.session());
            next->present();
            QCoreApplication::processEvents();
            delete next;
        }
    }

private slots:
    void initTestCase()
    {
        QApplication::setFont(Form::textFont(TextStyle::Plain));
        run.session().record.InfoSurname = QStringLiteral("Иванова");
        run.session().record.InfoName = QStringLiteral("Анна");
        delete new TForm1(run.session()); // the one-time font and style set-up belongs to start-up
    }

    void stepToTForm2() { step<TForm2>(); }
    void stepToTForm4() { step<TForm4>(); }
    void stepToTForm11() { step<TForm11>(); }
    void stepToTForm5() { step<TForm5>(); }
    void stepToTForm6() { step<TForm6>(); }
    void stepToTForm10() { step<TForm10>(); }
    void stepToTForm7() { step<TForm7>(); }
    void stepToTForm8() { step<TForm8>(); }
    void stepToTForm9() { step<TForm9>(); }
    void stepToTForm12() { step<TForm12>(); }
    void stepToTForm13() { step<TForm13>(); }

    void resultsFileWritten()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        RunRecord record = run.session().record;
        record.FinalCareer = QStringLiteral("инженер-конструктор");
        const SavedResults own = writeResultsFile(record);
        QBENCHMARK {
            writeResultsFile(record, own);
        }
        QDir::setCurrent(previous);
    }
};

QTEST_MAIN(BatteryBench)
#include "bench_battery.moc"
