#pragma once

#include <QChar>
#include <QString>

class QLocale;

// The machine's regional settings as the battery uses them.
struct RegionalSettings
{
    QChar decimalSeparator;
    QString shortDateFormat; // QDate format, e.g. "dd.MM.yyyy"
    QString longTimeFormat;  // QTime format, e.g. "H:mm:ss"
};

// Russian conventions: used under Russian settings and where the system has none.
RegionalSettings russianSettings();

// The settings of a locale: Russian conventions for Russian and for the C
// locale (a system without regional settings); elsewhere the locale's own,
// its long time format without the time zone, or H:mm:ss where that format
// would write characters that Windows-1251 cannot hold.
RegionalSettings regionalSettingsOf(const QLocale &locale);

// Read from the system locale on first use, unless set.
const RegionalSettings &regional();

// Replaces the settings for the rest of the process (tests, other locales).
void setRegional(const RegionalSettings &settings);
