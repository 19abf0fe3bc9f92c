#pragma once

#include <QString>
#include <QUrl>

// Where a study's results files go: a WebDAV folder, and who the battery is
// there. A cloud's public share is reached at its public WebDAV address with
// the share's token as the user name and the share's password, if any, as
// the password.
struct UploadAddress
{
    QUrl folder;      // https (http only on this computer), ending in "/"
    QString user;     // empty together with password: nothing is sent to log in
    QString password;
};

// Why `url` is not an address the battery sends results to, in Russian;
// empty when it is. Only https is taken, plain http only for this computer's
// own address (127.0.0.1, ::1, localhost); a password written into the
// address is refused, it belongs in upload_password.
QString uploadUrlFault(const QString &url);

// The WebDAV folder of an address without fault:
//   https://host[/path]/s/TOKEN, https://host[/path]/index.php/s/TOKEN
//       a cloud's share link: https://host[/path]/public.php/webdav/, user TOKEN;
//   https://host[/path]/public.php/dav/files/TOKEN/
//       the newer public address: as given, user "anonymous" when there is a password;
//   any other https://[user@]host/path/
//       a WebDAV folder as given, with the user written in it, if any.
UploadAddress uploadAddress(const QString &url, const QString &password);
