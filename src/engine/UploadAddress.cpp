#include "engine/UploadAddress.h"

#include <QRegularExpression>

namespace {

// 127.0.0.0/8 written as four decimal numbers, each at most 255 and without
// a leading zero (which some systems read as octal): anything else is a
// name, which could lead anywhere.
bool isLoopback(const QString &host)
{
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0 || host == u"::1")
        return true;
    static const QRegularExpression ipv4Loopback(QStringLiteral("^127\\.(0|[1-9]\\d{0,2})\\.(0|[1-9]\\d{0,2})\\.(0|[1-9]\\d{0,2})$"));
    const QRegularExpressionMatch match = ipv4Loopback.match(host);
    if (!match.hasMatch())
        return false;
    for (int part = 1; part <= 3; ++part)
        if (match.captured(part).toInt() > 255)
            return false;
    return true;
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
