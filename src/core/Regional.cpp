#include "core/Regional.h"

#include <QLocale>
#include <QRegularExpression>
#include <optional>

namespace {

std::optional<RegionalSettings> &current()
{
    static std::optional<RegionalSettings> settings;
    return settings;
}

// Qt's long time format may carry a time zone ("t"); a time text never does.
QString withoutZone(QString format)
{
    format.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return format.trimmed();
}

RegionalSettings fromSystem()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C || locale.language() == QLocale::Russian)
        return russianSettings();
    return {locale.decimalPoint().at(0), locale.dateFormat(QLocale::ShortFormat),
            withoutZone(locale.timeFormat(QLocale::LongFormat))};
}

} // namespace

RegionalSettings russianSettings()
{
    return {QChar(u','), QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss")};
}

const RegionalSettings &regional()
{
    if (!current())
        current() = fromSystem();
    return *current();
}

void setRegional(const RegionalSettings &settings)
{
    current() = settings;
}
