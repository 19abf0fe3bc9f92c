#include "support/EngineSupport.h"
#include "windows/SoundPlayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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
};

QTEST_MAIN(SoundPlayerTest)
#include "tst_sound_player.moc"
