#pragma once

#include "engine/UploadAddress.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <chrono>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QSslCertificate;

// Sends a run's saved files, the results file first, into the study's WebDAV
// folder: one PUT each with "If-None-Match: *", so that nothing on the server
// is ever replaced. Where a name is taken, the files go under the next number,
// all of them under the same one, as on disk. Nothing else is sent; the
// password goes only into the request's authorisation. TLS is verified
// against the system's certificates; a redirect is followed only to the same
// server by the same scheme. A start after a failure sends only what has not
// arrived yet.
class ResultsUpload : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Sent, NoConnection, NotSecure, Refused, ServerFull, TimedOut, Cancelled, Unreadable };

    // The server's names of the files for a number: the results file's, then
    // its companions', in the order of the local files.
    using NamesFor = std::function<QStringList(int number)>;

    ResultsUpload(UploadAddress address, QStringList localFiles, NamesFor names, QObject *parent = nullptr);
    ~ResultsUpload() override;

    // Sends what has not arrived yet; finished() tells how it went.
    void start();
    // Stops sending; finished(Cancelled) follows.
    void cancel();

    // The files' names on the server, once sent.
    QStringList sentNames() const;

    // Why sending failed, in Russian, for the subject: never the server's own words.
    static QString reason(Outcome outcome);

    // For the test server only: a certificate authority trusted besides the
    // system's, for the rest of the process.
    static void trustAuthority(const QSslCertificate &authority);
    // How long a request may go without any progress; 30 s unless a test sets less.
    static void setStallLimit(std::chrono::milliseconds limit);

signals:
    void progressed(qint64 sent, qint64 total);
    void finished(ResultsUpload::Outcome outcome);

private:
    QUrl urlOf(int file) const;
    void put(const QUrl &url);
    void send(const QUrl &url);
    void replied();
    void finish(Outcome outcome);

    UploadAddress address;
    QStringList localFiles;
    NamesFor names;
    QNetworkAccessManager *network;
    QPointer<QNetworkReply> reply;
    int number = 1;   // of the names on the server
    int arrived = 0;  // files sent, in order
    int redirects = 0;
    bool cancelled = false;
    QByteArray body;        // of the file being sent
    qint64 total = 0;       // bytes of all files
    qint64 sentBefore = 0;  // bytes of the files arrived
};
