#include "windows/UploadProgress.h"

#include "windows/Messages.h"

#include <QEventLoop>
#include <QProgressDialog>

ResultsUpload::Outcome sendShowingProgress(ResultsUpload &upload, QWidget *window)
{
    QProgressDialog progress(QStringLiteral("Отправка результатов организаторам…"), QStringLiteral("Отменить"), 0, 100,
                             window);
    progress.setObjectName(QStringLiteral("UploadProgress"));
    progress.setWindowTitle(messageTitle());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setWindowFlag(Qt::WindowStaysOnTopHint); // as the windows and messages are
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);

    std::optional<ResultsUpload::Outcome> outcome;
    QEventLoop waiting;
    // Queued: a modal bar's setValue() runs the event loop, which inside
    // the upload's own progress signal stops it sending.
    const auto progressed = QObject::connect(
        &upload, &ResultsUpload::progressed, &progress,
        [&progress](qint64 sent, qint64 total) {
            if (total > 0)
                progress.setValue(int(sent * 100 / total));
        },
        Qt::QueuedConnection);
    const auto finished = QObject::connect(&upload, &ResultsUpload::finished, &waiting,
                                           [&](ResultsUpload::Outcome how) {
                                               outcome = how;
                                               waiting.quit();
                                           });
    QObject::connect(&progress, &QProgressDialog::canceled, &upload, &ResultsUpload::cancel);
    progress.setValue(0); // shows it at once
    upload.start();
    if (!outcome) // a start may end at once, a file that cannot be read
        waiting.exec();
    QObject::disconnect(progressed);
    QObject::disconnect(finished);
    return *outcome;
}
