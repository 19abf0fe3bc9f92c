#include "engine/Failure.h"
#include "support/WindowSupport.h"
#include "windows/Form.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// A window taller than the screen, as the questionnaires are.
class TallWindow : public Form
{
    Q_OBJECT
public:
    explicit TallWindow(QWidget *owner = nullptr)
        : Form(QStringLiteral("Высокое окно"), owner)
    {
        subject = addSubjectField(QStringLiteral("Edit105"));
        instructions = addCentredText(QStringLiteral("Label9"),
                                      QStringLiteral("Прочитайте условие, решите задачу и введите ответ в поле. ")
                                          .repeated(8),
                                      700);
        for (int i = 0; i < 100; ++i)
            body()->addWidget(makeLabel(QStringLiteral("Label%1").arg(i), QStringLiteral("Строка %1").arg(i)));
    }

    int position() const { return scroller()->verticalScrollBar()->value(); }
    int maximum() const { return scroller()->verticalScrollBar()->maximum(); }
    void wheel(int delta)
    {
        QWidget *viewport = scroller()->viewport();
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
    void fail() { guarded(QStringLiteral("Неизвестная ошибка!"), [] { throw Failure(); }); }
    void failLate(int &stored)
    {
        guarded(QStringLiteral("Введены неверные данные!"), [&] {
            stored = 1;
            throw std::runtime_error("late");
        });
    }
    template <class T>
    T *goOn()
    {
        return forwardTo<T>();
    }

    QLineEdit *subject;
    QLabel *instructions;
};

class NextWindow : public TallWindow
{
    Q_OBJECT
};

} // namespace

// What every window shares: appearance, scrolling, guarded handlers, forward step.
class FormBaseTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::resetRun(); }

    void appearance()
    {
        TallWindow w;
        w.present();
        const Qt::WindowFlags flags = w.windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QCOMPARE(w.palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(w.subject->isReadOnly());
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("Label54"))->text(), QStringLiteral("Испытуемый:"));
    }

    void questionsAreSetInTimesNewRomanOrItsMetricTwin()
    {
        const QFontInfo info(QFont(QStringLiteral("Times New Roman")));
        QVERIFY2(info.family().contains(QStringLiteral("Liberation Serif")) || info.family() == "Times New Roman",
                 qPrintable(info.family()));
    }

    void wheelScrollsTenPixelsPerNotch()
    {
        TallWindow w;
        w.present();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.maximum() > 100);

        w.wheel(-120);
        QCOMPARE(w.position(), 10);
        w.wheel(-120 * 3);
        QCOMPARE(w.position(), 40);
        // Fine wheels send parts of a notch: only a whole notch moves.
        w.wheel(-60);
        QCOMPARE(w.position(), 40);
        w.wheel(-60);
        QCOMPARE(w.position(), 50);
        w.wheel(120);
        QCOMPARE(w.position(), 40);

        // At the ends further notches change nothing.
        for (int i = 0; i < 10; ++i)
            w.wheel(120);
        QCOMPARE(w.position(), 0);
        w.wheel(-120 * 100000);
        QCOMPARE(w.position(), w.maximum());
    }

    void centredTextIsNeverCutOff()
    {
        TallWindow w;
        w.show();
        for (const QSize size : {QSize(1280, 1000), QSize(800, 800), QSize(500, 600)}) {
            w.resize(size);
            QCoreApplication::processEvents();
            QLabel *label = w.instructions;
            QVERIFY(label->width() <= 700);
            QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                     qPrintable(QStringLiteral("%1 wide: %2 < %3")
                                    .arg(label->width())
                                    .arg(label->height())
                                    .arg(label->heightForWidth(label->width()))));
        }
    }

    void failuresInsideAHandlerShowTheCatchAllMessage()
    {
        test::MessageLog messages;
        TallWindow w;
        w.present();
        w.fail();
        int stored = 0;
        w.failLate(stored);
        QCOMPARE(messages.texts,
                 (QStringList{QStringLiteral("Неизвестная ошибка!"), QStringLiteral("Введены неверные данные!")}));
        QCOMPARE(stored, 1); // what was stored before the failure stays stored
        QVERIFY(w.isVisible());
    }

    void forwardStepHandsOverToANewWindow()
    {
        run().InfoSurname = QStringLiteral(" Петров ");
        run().InfoName = QStringLiteral("Иван");
        auto *first = new TallWindow;
        first->present();
        NextWindow *next = first->goOn<NextWindow>();
        QCOMPARE(currentInstance<NextWindow>.data(), next);
        QCOMPARE(next->subject->text(), QStringLiteral(" Петров  Иван"));
        QVERIFY(!first->isVisible());
        QVERIFY(next->isVisible());
        QVERIFY(!next->parent()); // owned by the application

        // A second step to the same class makes a new current instance.
        NextWindow *again = next->goOn<NextWindow>();
        QVERIFY(again != next);
        QCOMPARE(currentInstance<NextWindow>.data(), again);
    }

    void disposingEndsEveryWindow()
    {
        QPointer<TallWindow> a = new TallWindow;
        QPointer<NextWindow> b = a->goOn<NextWindow>();
        Form::disposeAll();
        QVERIFY(!a && !b);
    }
};

QTEST_MAIN(FormBaseTest)
#include "tst_form_base.moc"
