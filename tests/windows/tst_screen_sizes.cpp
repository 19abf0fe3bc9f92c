#include "forms/Sequence.h"
#include "support/WindowSupport.h"
#include "windows/Form.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
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
        test::record().InfoSurname = QStringLiteral("Константинопольская");
        test::record().InfoName = QStringLiteral("Александра");
        for (const sequence::Step step : sequence::order()) {
            const std::unique_ptr<Form> window(test::runUnderTest().create(step));
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
