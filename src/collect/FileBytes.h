#pragma once

#include <QByteArray>
#include <QString>

// A file's bytes as read whole, or why not.
struct FileBytes
{
    QByteArray bytes;
    QString error;         // the system's reason when it cannot be read
    bool tooLarge = false; // larger than the limit, and not read
};

// Reads a file of at most `limit` bytes with as few calls to the system as
// it takes (open, size, read, close), as a collection reads thousands.
FileBytes readFileBytes(const QString &path, qint64 limit);
