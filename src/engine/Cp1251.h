#pragma once

#include <QByteArray>
#include <QString>

// Windows-1251, the single-byte character set of the results file.

// A character that Windows-1251 cannot encode becomes '?'.
QByteArray toCp1251(const QString &text);
QString fromCp1251(const QByteArray &bytes);
bool encodableInCp1251(const QString &text);
