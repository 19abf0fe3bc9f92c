#pragma once

#include "collect/CsvText.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <optional>

// Who a subject is, as far as a person would tell two files apart: surname
// and name without outer blanks, case, or the dots of "ё".
QString subjectIdentity(const QString &surname, const QString &name);

// Codes S0001, S0002, … for the subjects in order of first appearance, and
// the key from each code to the names, contact and file it stands for.
class SubjectCodes
{
public:
    // The codes of a key written before, to be extended; a reason when the
    // file exists and is no such key. No file is an empty key.
    std::optional<QString> readKey(const QString &keyFile);

    // The code of a file's subject, a new one for a subject not met before;
    // the file joins the key unless it is there already.
    QString code(const QString &file, const QString &surname, const QString &name, const QString &contact);

    QByteArray key(CsvStyle style) const;

private:
    QList<QStringList> rows; // the key's rows: code, surname, name, contact, file
    QHash<QString, QString> codeOf; // subject identity → code
    QSet<QString> filesInKey;
    int lastNumber = 0;
};
