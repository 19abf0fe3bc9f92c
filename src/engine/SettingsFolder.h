#pragma once

#include "engine/StudySettings.h"

#include <QString>

// The folders the Debian package installs into: the programs', and the
// configuration folder that holds a study's settings file.
struct InstalledFolders
{
    QString programs;
    QString settings;
};
InstalledFolders packageFolders();

// The settings file a battery reads when none is named on its command line:
// cogbattery.ini beside the program (a build tree, a folder unpacked on
// Windows). The battery the package installed reads the one in the package's
// configuration folder; the one an earlier package put beside the program is
// read when that folder holds none, and when both exist and differ, neither
// is: the file returned carries a problem that names both.
SettingsFile unnamedSettingsFile(const QString &programDir, const InstalledFolders &installed = packageFolders());
