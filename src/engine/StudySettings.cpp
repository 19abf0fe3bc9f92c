#include "engine/StudySettings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

namespace {

// A value as the study wrote it. Unquoted, Qt's INI reader splits text at
// commas into a list; joined again, the heading reads as it was written.
QString textOf(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", ")).trimmed();
    return value.toString().trimmed();
}

void setIfGiven(QString &text, const QSettings &settings, const QString &key)
{
    const QString given = textOf(settings, key);
    if (!given.isEmpty())
        text = given;
}

// Qt's INI reader takes any text without complaint, a stray line included.
// Every line must be blank, a comment (; or #), a [section] or key = value,
// or carry on a value whose line ended with a backslash. Returns the number
// of the first line that is none of these, 0 when every line is.
qsizetype firstMalformedLine(const QString &text)
{
    const QStringList lines = text.split(u'\n');
    bool continued = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const bool wellFormed = continued || line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')
            || (line.startsWith(u'[') && line.endsWith(u']')) || line.indexOf(u'=') > 0;
        if (!wellFormed)
            return i + 1;
        continued = line.endsWith(u'\\');
    }
    return 0;
}

QString problemWith(const QString &path, const QString &what)
{
    return QStringLiteral("Файл настроек %1 %2. Программа работает с настройками по умолчанию.")
        .arg(QFileInfo(path).absoluteFilePath(), what);
}

} // namespace

StudySettings &studySettings()
{
    static StudySettings settings;
    return settings;
}

SettingsFile settingsFileOf(const QStringList &arguments, const QString &programDir)
{
    const QString option = QStringLiteral("--settings");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size())
            return {arguments[i + 1], true};
        if (arguments[i].startsWith(option + u'='))
            return {arguments[i].mid(option.size() + 1), true};
    }
    return {programDir + QStringLiteral("/cogbattery.ini"), false};
}

QString loadStudySettings(const SettingsFile &file)
{
    if (!QFileInfo::exists(file.path))
        return file.named ? problemWith(file.path, QStringLiteral("не найден")) : QString();
    QFile in(file.path);
    if (!QFileInfo(file.path).isFile() || !in.open(QIODevice::ReadOnly))
        return problemWith(file.path, QStringLiteral("не читается"));
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(in.readAll());
    if (utf8.hasError())
        return problemWith(file.path, QStringLiteral("записан не в кодировке UTF-8"));
    if (const qsizetype line = firstMalformedLine(text))
        return problemWith(file.path, QStringLiteral("не по формату INI в строке %1").arg(line));

    const QSettings settings(file.path, QSettings::IniFormat);
    StudySettings &study = studySettings();
    setIfGiven(study.contactEmail, settings, QStringLiteral("contact_email"));
    setIfGiven(study.welcomeHeading, settings, QStringLiteral("welcome_heading"));
    study.itemData = textOf(settings, QStringLiteral("item_data")).compare(u"true", Qt::CaseInsensitive) == 0;
    return {};
}
