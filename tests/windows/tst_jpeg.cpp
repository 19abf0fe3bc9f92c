#include "forms/Unit12.h"
#include "windows/JpegImage.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTest>

// The JPEG decoder: sound pictures come out grey and whole; damaged ones give
// a null image and leave the program running.
class JpegTest : public QObject
{
    Q_OBJECT

    static QByteArray encode(const QImage &image, int quality = 95)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(quality);
        if (!writer.write(image))
            qFatal("cannot encode a test picture: %s", qPrintable(writer.errorString()));
        return bytes;
    }

    // Four bands: black, white, pure red and pure blue.
    static QImage bands()
    {
        QImage image(64, 32, QImage::Format_RGB32);
        const QColor colours[] = {Qt::black, Qt::white, Qt::red, Qt::blue};
        for (int band = 0; band < 4; ++band)
            for (int y = 0; y < 32; ++y)
                for (int x = band * 16; x < band * 16 + 16; ++x)
                    image.setPixelColor(x, y, colours[band]);
        return image;
    }

    // The offset of the first byte after the marker, or -1.
    static qsizetype afterMarker(const QByteArray &bytes, char marker)
    {
        const qsizetype at = bytes.indexOf(QByteArray("\xFF", 1) + marker);
        return at < 0 ? -1 : at + 2;
    }

private slots:
    void greyPictureDecodesWhole()
    {
        QImage grey(40, 24, QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                grey.scanLine(y)[x] = x < 20 ? 30 : 220;
        const QImage decoded = decodeJpeg(encode(grey));
        QCOMPARE(decoded.size(), grey.size());
        QCOMPARE(decoded.format(), QImage::Format_Grayscale8);
        QVERIFY(qAbs(decoded.scanLine(12)[5] - 30) <= 4);
        QVERIFY(qAbs(decoded.scanLine(12)[35] - 220) <= 4);
    }

    void colourPictureBecomesItsLuminance()
    {
        const QImage decoded = decodeJpeg(encode(bands()));
        QCOMPARE(decoded.format(), QImage::Format_Grayscale8);
        const uchar *row = decoded.constScanLine(16);
        QVERIFY(row[8] <= 4);
        QVERIFY(row[24] >= 251);
        QVERIFY(qAbs(row[40] - 76) <= 8); // 0.299 of full red
        QVERIFY(qAbs(row[56] - 29) <= 8); // 0.114 of full blue
    }

    void everyItemPictureDecodes()
    {
        for (int item = 1; item <= 15; ++item) {
            const QImage picture = TForm12::picture(item);
            QVERIFY2(!picture.isNull(), qPrintable(QString::number(item)));
            QCOMPARE(picture.format(), QImage::Format_Grayscale8);
            // White paper with black drawing: both ends of the scale occur.
            int darkest = 255, lightest = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) {
                    darkest = qMin(darkest, int(picture.constScanLine(y)[x]));
                    lightest = qMax(lightest, int(picture.constScanLine(y)[x]));
                }
            QVERIFY(darkest < 30);
            QVERIFY(lightest > 225);
        }
    }

    void damagedPicturesGiveNoImage_data()
    {
        const QByteArray sound = encode(bands());
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("not a JPEG") << QByteArray("GIF89a this is not a JPEG at all");
        QTest::newRow("start marker only") << QByteArray("\xFF\xD8", 2);
        QTest::newRow("header only") << sound.left(afterMarker(sound, '\xDA'));
        QTest::newRow("cut in the middle") << sound.left(sound.size() / 2);
        QTest::newRow("end marker missing") << sound.chopped(2);

        QByteArray noWidth = sound;
        const qsizetype frame = afterMarker(noWidth, '\xC0');
        QVERIFY(frame > 0);
        noWidth[frame + 5] = 0; // width, high and low byte, after length, precision and height
        noWidth[frame + 6] = 0;
        QTest::newRow("width zero") << noWidth;

        QByteArray huge = sound;
        huge[frame + 3] = huge[frame + 4] = huge[frame + 5] = huge[frame + 6] = char(0xFF);
        QTest::newRow("65535 by 65535") << huge;

        QByteArray badTable = sound;
        const qsizetype table = afterMarker(badTable, '\xC4');
        QVERIFY(table > 0);
        badTable[table + 2] = char(0x7F); // no such table class and number
        QTest::newRow("bad Huffman table") << badTable;
    }

    void damagedPicturesGiveNoImage()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(decodeJpeg(bytes).isNull());
    }

    void damagedEntropyDataNeverCrashes()
    {
        const QByteArray sound = encode(bands());
        const qsizetype scan = afterMarker(sound, '\xDA');
        for (qsizetype at = scan + 12; at < sound.size() - 2; at += 3) {
            QByteArray damaged = sound;
            damaged[at] = char(damaged[at] ^ 0x5A);
            const QImage decoded = decodeJpeg(damaged);
            // Either refused, or a whole picture of the stated size.
            QVERIFY(decoded.isNull() || decoded.size() == QSize(64, 32));
        }
    }

    void decoderRecoversAfterAFailure()
    {
        QVERIFY(decodeJpeg(QByteArray("\xFF\xD8\xFF", 3)).isNull());
        QCOMPARE(decodeJpeg(encode(bands())).size(), QSize(64, 32));
    }

    void missingFileGivesNoImage()
    {
        QVERIFY(loadJpeg(QStringLiteral("/nonexistent/picture.jpg")).isNull());
        QVERIFY(loadJpeg(QStringLiteral(":/raven/item16.jpg")).isNull());
    }
};

QTEST_MAIN(JpegTest)
#include "tst_jpeg.moc"
