#include "engine/UploadAddress.h"

#include <QRegularExpression>

namespace {

bool isLoopback(const QString &host)
{
    static const QRegularExpression ipv4Loopback(QStringLiteral("^127(\\.\\d{1,3}){3}$"));
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || host == u"::1" || ipv4Loopback.match(host).hasMatch();
}

// A share link's path: what comes before "/s/" or "/index.php/s/", and the token.
QRegularExpressionMatch shareLink(const QString &path)
{
    static const QRegularExpression link(QStringLiteral("^(.*?)/(?:index\\.php/)?s/([^/]+)/?$"));
    return link.match(path);
}

} // namespace

QString uploadUrlFault(const QString &url)
{
    const QUrl address(url, QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty() || (scheme != u"https" && scheme != u"http")
        || address.hasQuery() || address.hasFragment())
        return QStringLiteral("upload_url — не адрес папки WebDAV и не ссылка общего доступа облака (https://…)");
    if (scheme == u"http" && !isLoopback(address.host()))
        return QStringLiteral("upload_url начинается с http://: результаты отправляются только по защищённому "
                              "соединению, https://");
    if (!address.password().isEmpty())
        return QStringLiteral("в upload_url записан пароль: запишите его в upload_password");
    return {};
}

UploadAddress uploadAddress(const QString &url, const QString &password)
{
    QUrl folder(url, QUrl::StrictMode);
    QString user = folder.userName();
    folder.setUserInfo({});
    folder.setScheme(folder.scheme().toLower());
    const QRegularExpressionMatch link = shareLink(folder.path());
    if (link.hasMatch()) {
        folder.setPath(link.captured(1) + QStringLiteral("/public.php/webdav/"));
        user = link.captured(2);
    } else if (!folder.path().endsWith(u'/')) {
        folder.setPath(folder.path() + u'/');
    }
    if (user.isEmpty() && !password.isEmpty())
        user = QStringLiteral("anonymous");
    return {folder, user, password};
}
