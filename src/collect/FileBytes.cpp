#include "collect/FileBytes.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

FileBytes readFileBytes(const QString &path, qint64 limit)
{
    FileBytes result;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = qt_error_string(errno);
        return result;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        result.error = qt_error_string(errno);
    } else if (status.st_size > limit) {
        result.tooLarge = true;
    } else {
        result.bytes.resize(status.st_size);
        qint64 done = 0;
        while (done < result.bytes.size()) {
            const ssize_t got = ::read(fd, result.bytes.data() + done, size_t(result.bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                result.error = qt_error_string(errno);
                break;
            }
            if (got == 0)
                break; // the file shrank meanwhile
            done += got;
        }
        result.bytes.truncate(done);
    }
    ::close(fd);
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        result.error = file.errorString();
    else if (file.size() > limit)
        result.tooLarge = true;
    else
        result.bytes = file.readAll();
#endif
    return result;
}
