#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

// The files of a folder: each name and its bytes.
using FolderFiles = QList<std::pair<QString, QByteArray>>;

// Replaces the folder by one holding exactly these files: they are written
// into a new folder beside it, which then takes its place, so that the
// folder is the earlier one or the new one, never a mix of both. The
// system's reason when it cannot; the earlier folder stays then.
std::optional<QString> replaceFolderWhole(const QString &folder, const FolderFiles &files);
