#pragma once

#include <QList>
#include <QString>
#include <optional>

// A file the collector writes, and the option that names it.
struct OutputFile
{
    QString option; // "--output"
    QString path;   // empty for standard output
};

// Why the outputs cannot be written, to be said before any is: two that name
// the same file, by any spelling or link, or one that exists and is not a
// regular file (a device, a pipe, a folder). Nothing when they can.
std::optional<QString> outputsRefused(const QList<OutputFile> &outputs);

// Whether the file at the path is in the folder or a folder of it, whatever
// links lead there; standard output is in none.
bool isInFolder(const QString &path, const QString &folder);
