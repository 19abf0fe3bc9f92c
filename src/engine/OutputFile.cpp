#include "engine/OutputFile.h"

#include <QFileDevice>
#include <QSaveFile>

namespace {

// A write that stops short leaves no reason behind: the write that then
// fails outright carries the system's, "No space left on device" or the like.
bool writeInFull(QIODevice &device, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

namespace {

// QSaveFile syncs the new file to the disk before it takes the name.
std::optional<QString> saveWhole(const QString &path, const QByteArray &bytes,
                                 std::optional<QFileDevice::Permissions> permissions)
{
    // Unbuffered, as a buffered QSaveFile reports a failed flush as success.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && (!permissions || file.setPermissions(*permissions))
        && writeInFull(file, bytes) && file.commit())
        return std::nullopt;
    return file.errorString();
}

} // namespace

std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes)
{
    return saveWhole(path, bytes, std::nullopt);
}

std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes,
                                      QFileDevice::Permissions permissions)
{
    return saveWhole(path, bytes, permissions);
}

std::optional<QString> writeAll(QIODevice &device, const QByteArray &bytes)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (writeInFull(device, bytes) && (!file || file->flush()))
        return std::nullopt;
    return device.errorString();
}
