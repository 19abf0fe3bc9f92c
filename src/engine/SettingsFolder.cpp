#include "engine/SettingsFolder.h"

#include "engine/InstalledPaths.h"

#include <QDir>

QString settingsFolderOf(const QString &programDir)
{
    if (QDir::cleanPath(programDir) == QLatin1String(installedProgramFolder))
        return QString::fromLatin1(installedSettingsFolder);
    return programDir;
}
