// The upload address on any text: an address taken is always https, or plain
// http to this computer; its folder ends in "/", carries no password, query
// or fragment, and is on the host and port that were written.

#include "Property.h"
#include "engine/UploadAddress.h"

#include <arpa/inet.h>
#include <cstdint>

namespace {

// By the system's own reading of an IPv4 address.
bool isThisComputer(const QString &host)
{
    in_addr address{};
    return host == u"localhost" || host == u"::1"
        || (inet_pton(AF_INET, host.toLatin1().constData(), &address) == 1 && ntohl(address.s_addr) >> 24 == 127);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!uploadUrlFault(text).isEmpty())
        return 0;
    const UploadAddress address = uploadAddress(text, QStringLiteral("pw"));
    const QUrl &folder = address.folder;
    const QUrl written(text);
    require(folder.isValid(), "the folder is a valid address");
    require(folder.scheme() == u"https" || (folder.scheme() == u"http" && isThisComputer(folder.host().toLower())),
            "https, or plain http only to this computer");
    require(folder.path().endsWith(u'/'), "the folder ends in a slash");
    require(folder.userInfo().isEmpty() && !folder.hasQuery() && !folder.hasFragment(),
            "no user, password, query or fragment in the folder");
    require(folder.host() == written.host() && folder.port() == written.port(), "the host and port as written");
    require(!address.user.isEmpty(), "a password always goes with a user");
    return 0;
}
