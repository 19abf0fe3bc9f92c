#include "engine/Regional.h"

#include "engine/Cp1251.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

namespace {

// The system's settings are read once, on first use, by whichever thread
// comes first; the collector's threads read them at once.
RegionalSettings &current()
{
    static RegionalSettings settings = regionalSettingsOf(QLocale::system());
    return settings;
}

// A zone ("t") goes with the blanks, comma and brackets around it, as in
// "HH:mm:ss, t" or "H:mm:ss (t)"; quoted literal text stays as it is.
QString withoutZone(const QString &format)
{
    static const QRegularExpression zone(QStringLiteral("[\\s,]*[(\\[]?t+[)\\]]?[\\s,]*"));
    QString result;
    const QStringList pieces = format.split(u'\'');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const bool quoted = i % 2 == 1;
        if (i > 0)
            result += u'\'';
        result += quoted ? pieces[i] : QString(pieces[i]).replace(zone, QStringLiteral(" "));
    }
    return result.trimmed();
}

bool writableInCp1251(const QString &timeFormat)
{
    return encodableInCp1251(QTime(14, 7, 45).toString(timeFormat) + QTime(2, 7, 45).toString(timeFormat));
}

} // namespace

RegionalSettings regionalSettingsOf(const QLocale &locale)
{
    if (locale.language() == QLocale::C || locale.language() == QLocale::Russian)
        return russianSettings();
    const QString timeFormat = withoutZone(locale.timeFormat(QLocale::LongFormat));
    return {locale.decimalPoint().at(0), locale.dateFormat(QLocale::ShortFormat),
            writableInCp1251(timeFormat) ? timeFormat : russianSettings().longTimeFormat};
}

RegionalSettings russianSettings()
{
    return {QChar(u','), QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss")};
}

const RegionalSettings &regional()
{
    return current();
}

void setRegional(const RegionalSettings &settings)
{
    current() = settings;
}
