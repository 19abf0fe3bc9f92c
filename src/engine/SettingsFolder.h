#pragma once

#include <QString>

// The folder whose cogbattery.ini is the study's settings file when no file is
// named on the command line. The battery the Debian package installed reads
// the package's configuration folder; anywhere else (a build tree, a folder
// unpacked on Windows) it reads the file beside itself.
QString settingsFolderOf(const QString &programDir);
