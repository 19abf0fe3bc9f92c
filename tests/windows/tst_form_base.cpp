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
        : Form(test::session(), QStringLiteral("Высокое окно"), owner)
    {
        subject = addSubjectField(QStringLiteral("Edit105"));
        instructions = addCentredText(QStringLiteral("Label9"),
                                      QStringLiteral("Прочитайте условие, решите задачу и введите ответ в поле. ")
                                          .repeated(8),
                                      700);
        for (int i = 0; i < 100; ++i)
            body()->addWidget(makeLabel(QStringLiteral("Label%1").arg(i), QStringLiteral("Строка %1").arg(i)));
    }

    QScrollArea *area() const { return scroller(); }
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

    // Ten pixels a whole notch, over the page or its scroll bars, until an
    // end; sideways by the same step, and both ways at once for a diagonal
    // touchpad stroke.
    void wheelScrollsTenPixelsPerNotch_data()
    {
        QTest::addColumn<QString>("over");
        QTest::addColumn<QList<QPoint>>("turns"); // in eighths of a degree, 120 a notch
        QTest::addColumn<QPoint>("position");     // sideways and down; down -1: the end
        const QString page = QStringLiteral("page");
        QTest::newRow("a notch") << page << QList<QPoint>{{0, -120}} << QPoint(0, 10);
        QTest::newRow("three notches at once") << page << QList<QPoint>{{0, -360}} << QPoint(0, 30);
        QTest::newRow("half a notch") << page << QList<QPoint>{{0, -60}} << QPoint(0, 0);
        QTest::newRow("two halves") << page << QList<QPoint>{{0, -60}, {0, -60}} << QPoint(0, 10);
        QTest::newRow("two down, one up") << page << QList<QPoint>{{0, -240}, {0, 120}} << QPoint(0, 10);
        QTest::newRow("past the top") << page << QList<QPoint>{{0, -120}, {0, 240}} << QPoint(0, 0);
        QTest::newRow("past the end") << page << QList<QPoint>{{0, -120 * 100000}} << QPoint(0, -1);
        QTest::newRow("over the vertical bar") << "vertical bar" << QList<QPoint>{{0, -120}, {0, -120}} << QPoint(0, 20);
        QTest::newRow("sideways") << page << QList<QPoint>{{-240, 0}} << QPoint(20, 0);
        QTest::newRow("over the horizontal bar") << "horizontal bar" << QList<QPoint>{{-240, 0}, {120, 0}} << QPoint(10, 0);
        QTest::newRow("diagonal") << page << QList<QPoint>{{-120, -120}} << QPoint(10, 10);
    }

    void wheelScrollsTenPixelsPerNotch()
    {
        QFETCH(QString, over);
        QFETCH(QList<QPoint>, turns);
        QFETCH(QPoint, position);
        WideWindow w;
        w.show();
        w.resize(800, 600);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QScrollBar *down = w.area()->verticalScrollBar();
        QScrollBar *sideways = w.area()->horizontalScrollBar();
        QVERIFY(down->maximum() > 100 && sideways->maximum() > 100);
        QWidget *target = over == u"page" ? w.area()->viewport() : over == u"vertical bar" ? down : sideways;
        for (const QPoint turn : turns) {
            const QPointF at(5, 5);
            QWheelEvent event(at, target->mapToGlobal(at), QPoint(), turn, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
        }
        QCOMPARE(QPoint(sideways->value(), down->value()),
                 QPoint(position.x(), position.y() < 0 ? down->maximum() : position.y()));
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
        test::record().InfoSurname = QStringLiteral(" Петров ");
        test::record().InfoName = QStringLiteral("Иван");
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
