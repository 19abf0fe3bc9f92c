#include "windows/ResultsUpload.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <optional>

namespace {

// The system's certificates and any the tests add; none added: Qt's own
// default, which loads the system's as it needs them.
std::optional<QSslConfiguration> &withExtraAuthorities()
{
    static std::optional<QSslConfiguration> tls;
    return tls;
}

std::chrono::milliseconds &stallLimit()
{
    static std::chrono::milliseconds limit{30000};
    return limit;
}

// Names are tried from 1 up; a server that takes none of so many is refusing.
constexpr int lastNumber = 10000;

bool sameServer(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0
        && a.port(a.scheme() == u"https" ? 443 : 80) == b.port(b.scheme() == u"https" ? 443 : 80);
}

} // namespace

ResultsUpload::ResultsUpload(UploadAddress address, QStringList localFiles, NamesFor names, QObject *parent)
    : QObject(parent)
    , address(std::move(address))
    , localFiles(std::move(localFiles))
    , names(std::move(names))
    , network(new QNetworkAccessManager(this))
{
    network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

ResultsUpload::~ResultsUpload()
{
    if (reply)
        reply->abort();
}

void ResultsUpload::start()
{
    total = 0;
    for (const QString &file : localFiles)
        total += QFileInfo(file).size();
    cancelled = false;
    redirects = 0;
    // A connection that an earlier try gave up on is not tried again.
    network->clearConnectionCache();
    if (arrived == localFiles.size())
        return finish(Outcome::Sent);
    put(urlOf(arrived));
}

void ResultsUpload::cancel()
{
    cancelled = true;
    if (reply)
        reply->abort();
}

QStringList ResultsUpload::sentNames() const
{
    return names(number).mid(0, arrived);
}

QString ResultsUpload::reason(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Sent:
        return {};
    case Outcome::NoConnection:
        return QStringLiteral("нет соединения с сервером организаторов (проверьте подключение к интернету)");
    case Outcome::NotSecure:
        return QStringLiteral("сервер не подтвердил свою подлинность, и защищённое соединение не установлено");
    case Outcome::Refused:
        return QStringLiteral("сервер организаторов отказался принять файлы");
    case Outcome::ServerFull:
        return QStringLiteral("на сервере организаторов нет места");
    case Outcome::TimedOut:
        return QStringLiteral("сервер организаторов не отвечает, время ожидания истекло");
    case Outcome::Cancelled:
        return QStringLiteral("отправка отменена");
    case Outcome::Unreadable:
        return QStringLiteral("сохранённый файл не читается");
    }
    return {};
}

void ResultsUpload::trustAuthority(const QSslCertificate &authority)
{
    std::optional<QSslConfiguration> &tls = withExtraAuthorities();
    if (!tls) {
        tls = QSslConfiguration::defaultConfiguration();
        tls->setCaCertificates(QSslConfiguration::systemCaCertificates());
    }
    tls->addCaCertificate(authority);
}

void ResultsUpload::setStallLimit(std::chrono::milliseconds limit)
{
    stallLimit() = limit;
}

// The name is a file name, never part of a path: '%' and '#' are encoded.
QUrl ResultsUpload::urlOf(int file) const
{
    QUrl url = address.folder;
    url.setPath(url.path() + names(number).at(file));
    return url;
}

// Called from a reply's finished(), a new request on the connection that
// reply leaves would go out without its body: each waits for the event loop.
void ResultsUpload::put(const QUrl &url)
{
    QMetaObject::invokeMethod(this, [this, url] { send(url); }, Qt::QueuedConnection);
}

void ResultsUpload::send(const QUrl &url)
{
    if (std::exchange(cancelled, false))
        return finish(Outcome::Cancelled);
    QFile file(localFiles[arrived]);
    if (!file.open(QIODevice::ReadOnly))
        return finish(Outcome::Unreadable);
    body = file.readAll();

    QNetworkRequest request(url);
    request.setRawHeader("If-None-Match", "*");
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/octet-stream"));
    if (!address.user.isEmpty() || !address.password.isEmpty())
        request.setRawHeader("Authorization",
                             "Basic " + (address.user + u':' + address.password).toUtf8().toBase64());
    request.setTransferTimeout(int(stallLimit().count()));
    if (withExtraAuthorities())
        request.setSslConfiguration(*withExtraAuthorities());
    reply = network->put(request, body);
    connect(reply, &QNetworkReply::uploadProgress, this,
            [this](qint64 sent, qint64 size) {
                if (size > 0) // Qt's last report of a request is (0, 0)
                    emit progressed(sentBefore + sent, total);
            });
    connect(reply, &QNetworkReply::finished, this, &ResultsUpload::replied);
}

void ResultsUpload::replied()
{
    QNetworkReply *done = reply;
    reply = nullptr;
    done->deleteLater();
    if (cancelled)
        return finish(Outcome::Cancelled);
    const int status = done->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 200 && status < 300) {
        sentBefore += body.size();
        redirects = 0;
        if (++arrived == localFiles.size())
            return finish(Outcome::Sent);
        return put(urlOf(arrived));
    }
    if (status == 412) { // the name is taken: all files under the next number
        if (++number > lastNumber)
            return finish(Outcome::Refused);
        arrived = 0;
        sentBefore = 0;
        return put(urlOf(arrived));
    }
    if (status == 307 || status == 308) { // the same request elsewhere: only on the same server
        const QUrl target = done->url().resolved(done->header(QNetworkRequest::LocationHeader).toUrl());
        if (sameServer(target, done->url()) && ++redirects <= 5)
            return put(target);
        return finish(Outcome::Refused);
    }
    if (status == 507)
        return finish(Outcome::ServerFull);
    if (status != 0)
        return finish(Outcome::Refused);
    switch (done->error()) {
    case QNetworkReply::OperationCanceledError: // the stall limit, as Qt reports it
    case QNetworkReply::TimeoutError:
        return finish(Outcome::TimedOut);
    case QNetworkReply::SslHandshakeFailedError:
        return finish(Outcome::NotSecure);
    default:
        return finish(Outcome::NoConnection);
    }
}

void ResultsUpload::finish(Outcome outcome)
{
    cancelled = false;
    emit finished(outcome);
}
