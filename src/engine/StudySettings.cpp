#include "engine/StudySettings.h"

#include "engine/UploadAddress.h"

#include <QDir>
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

// The number of the first line, from 1, that is not UTF-8; 0 when all are.
// Each line is decoded as a whole, its end included: a decoder that expects
// more text would keep a sequence cut short at the line's end pending
// instead of reporting it.
qsizetype firstLineNotUtf8(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = utf8.decode(lines[i]); // decodes only when taken as a text
        if (utf8.hasError())
            return i + 1;
    }
    return 0;
}

// Qt's INI reader takes any text without complaint, a stray line included.
// Every line must be blank, a comment (; or #), a [section] or key = value,
// or carry on a value whose line ended with a backslash. Returns the number
// of the first line that is none of these, 0 when every line is.
qsizetype firstMalformedLine(const QStringList &lines)
{
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
    return QStringLiteral("Файл настроек %1 %2.\nИсправьте или удалите его и запустите программу снова.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), what);
}

} // namespace

SettingsFile settingsFileOf(const QStringList &arguments, const SettingsFile &unnamed)
{
    const QString option = QStringLiteral("--settings");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size())
            return {arguments[i + 1], true};
        if (arguments[i].startsWith(option + u'='))
            return {arguments[i].mid(option.size() + 1), true};
    }
    return unnamed;
}

QString loadStudySettings(const SettingsFile &file, StudySettings &study)
{
    if (!file.problem.isEmpty())
        return file.problem;
    if (!QFileInfo::exists(file.path))
        return file.named ? problemWith(file.path, QStringLiteral("не найден")) : QString();
    QFile in(file.path);
    if (!QFileInfo(file.path).isFile() || !in.open(QIODevice::ReadOnly))
        return problemWith(file.path, QStringLiteral("не читается"));
    const QByteArray bytes = in.readAll();
    if (const qsizetype line = firstLineNotUtf8(bytes))
        return problemWith(file.path, QStringLiteral("записан не в кодировке UTF-8: строка %1").arg(line));
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (const qsizetype line = firstMalformedLine(lines))
        return problemWith(file.path, QStringLiteral("не по формату INI: строка %1 («%2») не пустая, не комментарий "
                                                     "(; или #), не [раздел] и не «ключ = значение»")
                                          .arg(line)
                                          .arg(lines[line - 1].trimmed().left(60)));

    const QSettings settings(file.path, QSettings::IniFormat);
    const QString uploadUrl = textOf(settings, QStringLiteral("upload_url"));
    if (!uploadUrl.isEmpty())
        if (const QString fault = uploadUrlFault(uploadUrl); !fault.isEmpty())
            return problemWith(file.path, QStringLiteral("неверен: ") + fault);
    const QString resumeHours = textOf(settings, QStringLiteral("resume_hours"));
    bool whole = resumeHours.isEmpty();
    const int hours = whole ? StudySettings{}.resumeHours : resumeHours.toInt(&whole);
    if (!whole || hours < 1)
        return problemWith(file.path, QStringLiteral("неверен: resume_hours = «%1», а нужно целое число часов больше нуля")
                                          .arg(resumeHours));
    setIfGiven(study.contactEmail, settings, QStringLiteral("contact_email"));
    setIfGiven(study.welcomeHeading, settings, QStringLiteral("welcome_heading"));
    study.itemData = textOf(settings, QStringLiteral("item_data")).compare(u"true", Qt::CaseInsensitive) == 0;
    study.uploadUrl = uploadUrl;
    study.uploadPassword = textOf(settings, QStringLiteral("upload_password"));
    study.resume = textOf(settings, QStringLiteral("resume")).compare(u"true", Qt::CaseInsensitive) == 0;
    study.resumeHours = hours;
    return {};
}
