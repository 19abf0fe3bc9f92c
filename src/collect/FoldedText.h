#pragma once

#include <QString>
#include <QStringView>

// A text as a person compares names: without outer blanks, case or the dots
// of "ё".
QString folded(QStringView text);
