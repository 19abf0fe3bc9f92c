// The pictures on a display scaled to 200 %: every picture has its twin drawn
// at twice the size, the windows show the twin in the room of the plain
// picture, and at 150 % the twin is fitted to the display's pixels.
#include "forms/Unit11.h"
#include "forms/Unit12.h"
#include "forms/Unit4.h"
#include "forms/Unit7.h"
#include "support/WindowSupport.h"
#include "windows/JpegImage.h"
#include "windows/Pictures.h"

#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

class SharpPicturesTest : public QObject
{
    Q_OBJECT

    // Each picture of the window is the twin, taking the plain picture's room
    // when the window gives it a fixed one.
    static void showsTwins(const QWidget &window, int pictures)
    {
        const QList<QLabel *> labels = window.findChildren<QLabel *>(QRegularExpression(QStringLiteral("^Image\\d+$")));
        QCOMPARE(labels.size(), pictures);
        for (const QLabel *label : labels) {
            const QPixmap pixmap = label->pixmap();
            QVERIFY2(!pixmap.isNull(), qPrintable(label->objectName()));
            QCOMPARE(pixmap.devicePixelRatio(), 2.0);
            if (label->minimumSize() == label->maximumSize())
                QCOMPARE(label->size() * 2, pixmap.size());
        }
    }

    // The share of pixels neither near black nor near white: the soft edges.
    static double softShare(const QImage &grey)
    {
        qint64 soft = 0;
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                soft += grey.constScanLine(y)[x] > 48 && grey.constScanLine(y)[x] < 208;
        return double(soft) / (double(grey.width()) * grey.height());
    }

private slots:
    void displayIsScaled() { QCOMPARE(qGuiApp->devicePixelRatio(), 2.0); }

    void everyPictureHasItsTwin()
    {
        pictureFor(QStringLiteral(":/raven/item01.jpg"), 1, loadJpeg); // registers the pictures
        int plain = 0;
        for (const QString folder : {QStringLiteral(":/raven"), QStringLiteral(":/handeye"), QStringLiteral(":/formulas")}) {
            QDirIterator files(folder, QDir::Files);
            while (files.hasNext()) {
                const QString path = files.next();
                if (path.contains(QStringLiteral("@2x")))
                    continue;
                ++plain;
                const QImage twin(doubleSizeName(path));
                QVERIFY2(!twin.isNull(), qPrintable(path));
                QCOMPARE(twin.size(), QImage(path).size() * 2);
            }
        }
        QCOMPARE(plain, 15 + 4 + 9);
    }

    void windowsShowTheTwins()
    {
        showsTwins(TForm4(test::session()), 5);
        showsTwins(TForm7(test::session()), 7);
        showsTwins(TForm11(test::session()), 1);
        TForm12 matrices(test::session());
        showsTwins(matrices, 15);
        QCOMPARE(matrices.Images[0]->pixmap().toImage().format(), QImage::Format_Grayscale8);
    }

    void twinFittedToOtherRatios()
    {
        const QString item = QStringLiteral(":/raven/item01.jpg");
        const QImage plain = pictureFor(item, 1, loadJpeg);
        QCOMPARE(plain.devicePixelRatio(), 1.0);

        const QImage fitted = pictureFor(item, 1.5, loadJpeg);
        QCOMPARE(fitted.devicePixelRatio(), 1.5);
        QCOMPARE(fitted.size(), plain.size() * 1.5);
        QCOMPARE(fitted.format(), QImage::Format_Grayscale8);
        // Sharper than the plain picture enlarged: fewer soft pixels on the bands.
        const QImage enlarged = plain.scaled(fitted.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(softShare(fitted) < 0.8 * softShare(enlarged),
                 qPrintable(QStringLiteral("%1 against %2").arg(softShare(fitted)).arg(softShare(enlarged))));

        // Without a twin the picture itself is shown; with neither, nothing.
        QCOMPARE(pictureFor(QStringLiteral(":/raven/item01@2x.jpg"), 2, loadJpeg).size(), plain.size() * 2);
        QVERIFY(pictureFor(QStringLiteral(":/no/such.png"), 2).isNull());
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    SharpPicturesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharp_pictures.moc"
