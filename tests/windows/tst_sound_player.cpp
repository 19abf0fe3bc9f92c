#include "support/EngineSupport.h"
#include "windows/SoundPlayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QSoundEffect>
#include <QTest>

// The player: a recording in the working directory first, else the built-in one.
class SoundPlayerTest : public QObject
{
    Q_OBJECT

    static void writeRecording(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QStringLiteral("sound"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    static QSoundEffect *player() { return qApp->findChild<QSoundEffect *>(QStringLiteral("soundPlayer")); }

private slots:
    void aRecordingInTheWorkingDirectoryComesFirst()
    {
        test::WorkingDirectory dir;
        writeRecording(QStringLiteral("sound/3.wav"), QByteArray("RIFF"));
        QCOMPARE(soundSource(QStringLiteral("sound/3.wav")),
                 QUrl::fromLocalFile(QDir(dir.path()).filePath(QStringLiteral("sound/3.wav"))));
        QCOMPARE(soundSource(QStringLiteral("sound/4.wav")), QUrl(QStringLiteral("qrc:/sound/4.wav")));
        QDir().mkpath(QStringLiteral("sound/5.wav")); // a folder is no recording
        QCOMPARE(soundSource(QStringLiteral("sound/5.wav")), QUrl(QStringLiteral("qrc:/sound/5.wav")));
    }

    // Through the real player: from an empty folder the built-in recording
    // loads (with or without an audio device); a broken file cannot sound.
    void theRealPlayerLoadsTheBuiltInRecording()
    {
        test::WorkingDirectory empty;
        playSound(QStringLiteral("sound/1.wav"));
        QVERIFY(player());
        QCOMPARE(player()->source(), QUrl(QStringLiteral("qrc:/sound/1.wav")));
        QTRY_COMPARE(player()->status(), QSoundEffect::Ready);

        writeRecording(QStringLiteral("sound/2.wav"), QByteArray(4096, 'x'));
        QSignalSpy failed(&soundEvents(), &SoundEvents::failed);
        playSound(QStringLiteral("sound/2.wav"));
        QTRY_COMPARE(player()->status(), QSoundEffect::Error);
        // An unplayable recording fails at once, so nothing waits for it.
        QVERIFY(failed.contains({QStringLiteral("sound/2.wav")}));
        playSound(QStringLiteral("sound/1.wav"));
        QTRY_COMPARE(player()->status(), QSoundEffect::Ready);
    }

    // Recording 1 played to its end on the system's sound output, where
    // there is one: the end comes no sooner than its sound, which stops half
    // a second or more before the end of the recording (16-bit stereo at
    // 48 kHz), where the player may stop. scripts/windows/hear-recording.sh
    // captures what the output receives, from the moment of the request.
    void aRecordingPlaysToItsEnd()
    {
        if (QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("no sound output");
        test::WorkingDirectory empty;
        QFile recording(QStringLiteral(":/sound/1.wav"));
        QVERIFY(recording.open(QIODevice::ReadOnly));
        const qint64 length = (recording.size() - 44) * 1000 / (48000 * 4);
        QSignalSpy ended(&soundEvents(), &SoundEvents::ended);
        QElapsedTimer sounding;
        qInfo("requested at %lld", QDateTime::currentMSecsSinceEpoch());
        sounding.start();
        playSound(QStringLiteral("sound/1.wav"));
        QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), int(length) + 10000);
        QCOMPARE(ended.first(), (QVariantList{QStringLiteral("sound/1.wav"), true}));
        QVERIFY2(sounding.elapsed() >= length - 500, qPrintable(QString::number(sounding.elapsed())));
    }
};

QTEST_MAIN(SoundPlayerTest)
#include "tst_sound_player.moc"
