#include "engine/JournalFile.h"
#include "engine/SettingsFolder.h"
#include "engine/StudySettings.h"
#include "engine/Version.h"
#include "forms/Sequence.h"
#include "main/Console.h"
#include "main/Usage.h"
#include "windows/Form.h"
#include "windows/Messages.h"

#include <QApplication>
#include <QStandardPaths>
#include <cstring>

namespace {

// Asked for the version: answered before any window system is touched, so
// that it works without a display.
bool asksForVersion(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksForVersion(argc, argv)) {
        answer(QStringLiteral("cogbattery %1\n").arg(QLatin1String(cogbatteryVersion)));
        return 0;
    }
    if (asksForHelp(argc, argv)) {
        answer(usageText());
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setFont(Form::textFont(TextStyle::Plain));

    useQtRussianTexts();

    // The study's texts, before the first window shows any of them. A broken
    // settings file stops the program here, where the researcher trying the
    // study sees it, rather than send subjects' files to the wrong address.
    StudySettings study;
    const QString problem = loadStudySettings(
        settingsFileOf(QApplication::arguments(), unnamedSettingsFile(QApplication::applicationDirPath())), study);
    if (!problem.isEmpty()) {
        printText(Channel::Error, problem + u'\n');
        showMessage(problem);
        return 2;
    }

    // The run's session begins with the program. The journal of a run in
    // progress lives in the user's application-data folder: the working
    // directory may be shared or read-only.
    Sequence run(study);
    run.begin(study.resume ? journalPathIn(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                           : QString());

    const int status = app.exec();
    Form::disposeAll();
    return status;
}
