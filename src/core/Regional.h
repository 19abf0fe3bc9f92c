#pragma once

#include <QChar>
#include <QString>

// The machine's regional settings as the battery uses them.
struct RegionalSettings
{
    QChar decimalSeparator;
    QString shortDateFormat; // QDate format, e.g. "dd.MM.yyyy"
    QString longTimeFormat;  // QTime format, e.g. "H:mm:ss"
};

// Russian conventions: used under Russian settings and where the system has none.
RegionalSettings russianSettings();

// Read from the system locale on first use, unless set.
const RegionalSettings &regional();

// Replaces the settings for the rest of the process (tests, other locales).
void setRegional(const RegionalSettings &settings);
