#pragma once

#include <QString>
#include <QStringList>

// The texts a study sets for itself without a rebuild, in the settings file
// cogbattery.ini (INI, UTF-8):
//
//     contact_email = results@study.example
//     welcome_heading = "Кафедра ... приветствует Вас!"
//     item_data = true
struct StudySettings
{
    QString contactEmail = QStringLiteral("cognitive.study@velmora.edu");
    QString welcomeHeading = QStringLiteral("Факультет психологии Вельмора приветствует Вас!");
    bool itemData = false; // an item file beside each results file
};

// The settings of this run: the built-in texts until a file is loaded.
StudySettings &studySettings();

// The settings file of a run: the one named by --settings FILE (or
// --settings=FILE) among the arguments, else cogbattery.ini in programDir.
struct SettingsFile
{
    QString path;
    bool named = false; // by the command line: then it must exist
};
SettingsFile settingsFileOf(const QStringList &arguments, const QString &programDir);

// Reads the settings file into the settings of this run. Keys it does not
// know are ignored, keys it lacks keep their texts, a missing file that was
// not named keeps them all. A file that cannot be read or parsed changes
// nothing; the returned text then says what went wrong, to show the study
// once. Empty when nothing did.
QString loadStudySettings(const SettingsFile &file);
