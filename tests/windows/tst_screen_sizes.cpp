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
#include "support/WindowSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>

namespace {

// What is cut off of a control on its page: outside the page's width, or
// smaller than its text needs.
QString clipping(const QWidget *page, const QWidget *control)
{
    const QRect placed(control->mapTo(page, QPoint(0, 0)), control->size());
    if (placed.left() < 0 || placed.right() >= page->width())
        return QStringLiteral("beyond the page's width");
    const auto *label = qobject_cast<const QLabel *>(control);
    if (label && label->pixmap().isNull()
        && (label->wordWrap() ? label->height() < label->heightForWidth(label->width())
                              : label->width() < label->sizeHint().width()))
        return QStringLiteral("text cut off");
    if (qobject_cast<const QAbstractButton *>(control) && control->width() < control->sizeHint().width())
        return QStringLiteral("caption cut off");
    return {};
}

} // namespace

// Every window on the small screens that subjects use, maximised with a
// taskbar of 40 pixels: none scrolls sideways and nothing is cut off.
class ScreenSizesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowFits()
    {
        test::resetRun();
        run().InfoSurname = QStringLiteral("Константинопольская");
        run().InfoName = QStringLiteral("Александра");
        const std::function<Form *()> windows[] = {
            [] { return new TForm1; },  [] { return new TForm2; },  [] { return new TForm4; },
            [] { return new TForm11; }, [] { return new TForm5; },  [] { return new TForm6; },
            [] { return new TForm10; }, [] { return new TForm7; },  [] { return new TForm8; },
            [] { return new TForm9; },  [] { return new TForm12; }, [] { return new TForm13; },
        };
        for (const auto &make : windows) {
            const std::unique_ptr<Form> window(make());
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            for (const QSize screen : {QSize(1024, 768), QSize(1366, 768)}) {
                window->resize(screen.width(), screen.height() - 40);
                QCoreApplication::processEvents();
                const QString where = window->windowTitle() + QStringLiteral(" at %1 wide: ").arg(screen.width());
                const auto *area = window->findChild<QScrollArea *>();
                QVERIFY2(area->horizontalScrollBar()->maximum() == 0, qPrintable(where + QStringLiteral("scrolls sideways")));
                const QWidget *page = area->widget();
                for (const QWidget *control : page->findChildren<QWidget *>()) {
                    const QString cut = control->isVisibleTo(page) ? clipping(page, control) : QString();
                    QVERIFY2(cut.isEmpty(), qPrintable(where + control->objectName() + u' ' + cut));
                }
            }
        }
    }
};

QTEST_MAIN(ScreenSizesTest)
#include "tst_screen_sizes.moc"
