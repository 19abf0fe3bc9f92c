#include "engine/Failure.h"
#include "support/WindowSupport.h"
#include "windows/Form.h"
#include "windows/Messages.h"

#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <memory>

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
    int sidewaysPosition() const { return scroller()->horizontalScrollBar()->value(); }
    QWidget *viewport() const { return scroller()->viewport(); }
    QScrollBar *verticalBar() const { return scroller()->verticalScrollBar(); }
    QScrollBar *horizontalBar() const { return scroller()->horizontalScrollBar(); }
    void wheel(int delta) { wheelOver(viewport(), QPoint(0, delta)); }
    static void wheelOver(QWidget *target, QPoint angleDelta)
    {
        const QPointF at(5, 5);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
    void fail() { guarded(QStringLiteral("Неизвестная ошибка!"), [] { throw Failure(); }); }
    void failLate(int &stored)
    {
        guarded(QStringLiteral("Введены неверные данные!"), [&] {
            stored = 1;
            throw std::runtime_error("late");
        });
    }
    QLineEdit *subject;
    QLabel *instructions;
};

class NextWindow : public TallWindow
{
    Q_OBJECT
};

// A window wider than the screen as well.
class WideWindow : public TallWindow
{
    Q_OBJECT
public:
    WideWindow()
    {
        auto *wide = new QWidget;
        wide->setFixedSize(3000, 20);
        body()->addWidget(wide);
    }
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

    // Over the scroll bars the wheel keeps the page's step; a sideways wheel
    // or touchpad movement scrolls sideways by the same step.
    void wheelOverTheScrollBarsAndSidewaysMovesByTheSameStep()
    {
        WideWindow w;
        w.show();
        w.resize(800, 600);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.horizontalBar()->maximum() > 100);

        TallWindow::wheelOver(w.verticalBar(), QPoint(0, -120));
        QCOMPARE(w.position(), 10);
        TallWindow::wheelOver(w.verticalBar(), QPoint(0, 120 * 2));
        QCOMPARE(w.position(), 0);

        TallWindow::wheelOver(w.viewport(), QPoint(-120 * 2, 0));
        QCOMPARE(w.sidewaysPosition(), 20);
        QCOMPARE(w.position(), 0);
        TallWindow::wheelOver(w.horizontalBar(), QPoint(120, 0));
        QCOMPARE(w.sidewaysPosition(), 10);
        // A diagonal touchpad stroke moves both ways at once.
        TallWindow::wheelOver(w.viewport(), QPoint(-120, -120));
        QCOMPARE(w.sidewaysPosition(), 20);
        QCOMPARE(w.position(), 10);
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

    void forwardStepHandsOverToTheNextWindow()
    {
        run().InfoSurname = QStringLiteral(" Петров ");
        run().InfoName = QStringLiteral("Иван");
        auto *first = new TallWindow;
        first->present();
        const QPointer<TallWindow> left = first;
        const std::unique_ptr<NextWindow> next(new NextWindow);
        first->handOverTo(next.get());
        QCOMPARE(next->subject->text(), QStringLiteral(" Петров  Иван"));
        QVERIFY(!first->isVisible());
        QTRY_VERIFY(!left); // deleted once the handler has returned
    }

    // The real boxes and the folder chooser: Russian titles, no Latin letter
    // on a button; Escape gives a question's safe answer.
    void boxesSpeakRussianAndEscapeGivesTheSafeAnswer()
    {
        useQtRussianTexts();
        TallWindow w;
        w.present();
        QStringList titles, buttons;
        const auto look = [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            titles << dialog->windowTitle();
            for (const QPushButton *button : dialog->findChildren<QPushButton *>())
                buttons << button->text();
            QTest::keyClick(dialog, Qt::Key_Escape);
        };
        QTimer::singleShot(0, look);
        showMessage(QStringLiteral("Ответьте на все вопросы!"));
        QTimer::singleShot(0, look);
        QCOMPARE(askMessage(QStringLiteral("Прервать?"), {QStringLiteral("Прервать"), QStringLiteral("Продолжить")}, 1), 1);
        QTimer::singleShot(0, look);
        QCOMPARE(chooseFolder(QStringLiteral("Папка для файла результатов")), QString());
        const QString program = QStringLiteral("Психологическое тестирование");
        QCOMPARE(titles, (QStringList{program, program, QStringLiteral("Папка для файла результатов")}));
        for (const QString &text : buttons)
            QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(text));
    }

    void disposingEndsEveryWindow()
    {
        QPointer<TallWindow> a = new TallWindow;
        QPointer<NextWindow> b = new NextWindow;
        Form::disposeAll();
        QVERIFY(!a && !b);
    }
};

QTEST_MAIN(FormBaseTest)
#include "tst_form_base.moc"
