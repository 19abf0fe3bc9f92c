#pragma once

#include <QString>
#include <QStringList>

// The texts a study sets for itself without a rebuild, in the settings file
// cogbattery.ini (INI, UTF-8):
//
//     contact_email = results@study.example
//     welcome_heading = "Кафедра ... приветствует Вас!"
//     item_data = true
//     upload_url = https://cloud.example.org/s/TOKEN
//     upload_password = ...
//     resume = true
//     resume_hours = 12
//
// The program has no address of its own: without a contact_email the
// subject is asked to send the file where the study's organisers said.
// With an upload_url the files are also sent there (engine/UploadAddress.h).
struct StudySettings
{
    QString contactEmail;
    QString welcomeHeading = QStringLiteral("Добро пожаловать!");
    bool itemData = false; // an item file beside each results file
    QString uploadUrl;      // empty: the files are not sent anywhere
    QString uploadPassword; // of a share protected by a password
    // A journal of the run kept until it ends, so that a run stopped by a
    // crash or a power cut goes on at the next start; off, nothing of a run
    // is kept before its results file.
    bool resume = false;
    int resumeHours = 12; // a journal older than this is not taken up
};

// The settings file of a run: the one named by --settings FILE (or
// --settings=FILE) among the arguments, else `unnamed`.
struct SettingsFile
{
    QString path;
    bool named = false; // by the command line: then it must exist
    QString problem;    // why no file can be chosen, in Russian; then none is read
};
SettingsFile settingsFileOf(const QStringList &arguments, const SettingsFile &unnamed);

// Reads the settings file into `study`. Keys it does not
// know are ignored, keys it lacks keep their texts, a missing file that was
// not named keeps them all. A file that is named but missing, or cannot be
// read or parsed, or a choice with a problem, changes nothing: the returned text, in Russian, names the
// file, the line and what is wrong, and the program must not start with it.
// Empty when nothing is wrong.
QString loadStudySettings(const SettingsFile &file, StudySettings &study);
