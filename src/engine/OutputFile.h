#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QIODevice>
#include <QString>
#include <optional>

// Writes the bytes into a file whole or not at all: an earlier file of the
// name stays as it was. The system's reason when it cannot.
std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes);
// The same, the file given the permissions before it takes the name, so that
// it is never readable by more than they allow.
std::optional<QString> writeWholeFile(const QString &path, const QByteArray &bytes,
                                      QFileDevice::Permissions permissions);

// Writes all the bytes to an open device and flushes it. The device's
// reason when it cannot.
std::optional<QString> writeAll(QIODevice &device, const QByteArray &bytes);
