#pragma once

#include "collect/Collector.h"
#include "collect/CsvText.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>

// The value of a results line, by its index.
using LineValue = std::function<QString(int index)>;

// Who a subject is, as a person would tell two files apart: surname and name
// without outer blanks, case or the dots of "ё", and the birth date as a
// date when it reads as one. The same names with another birth date are
// namesakes, two subjects.
QString namesIdentity(const LineValue &value);
QString subjectIdentity(const LineValue &value);
// The names identity within a subject identity, without folding the names again.
QString namesOfIdentity(const QString &identity);

// Codes S0001, S0002, … for the subjects in order of first appearance, and
// the key from each code to the names, birth date, contact and file it
// stands for: one row per file.
class SubjectCodes
{
public:
    // Without a key, codes are given and no key is kept.
    explicit SubjectCodes(bool keyed)
        : keyed(keyed)
    {
    }

    // The results lines the key holds, in file order: the subject's names,
    // birth date and contact.
    static QList<int> keyLines();

    // Takes the records of a key written before, to be extended: its first
    // line the header, line numbers from the key file. A key of an earlier
    // version, without birth dates, has them added from the files it names.
    // Returns each reason the key cannot be used as "N: reason" with its
    // line N, and takes nothing then.
    QStringList take(const CsvRecords &key);
    // Whether the key taken had the birth dates added.
    bool upgraded() const { return birthDatesAdded; }

    // The code of a row's subject, a new one for a subject not met before;
    // the file joins the key unless it is there already.
    QString code(const ResultsRow &row);

    // The key as a CSV text.
    QString key(CsvStyle style) const;

private:
    QString keyLine(const QStringList &row, int index) const;

    bool keyed;
    QList<QStringList> rows; // the key's rows: code, names, birth date, contact, file
    QHash<QString, QString> codeOf; // subject identity → code
    QSet<QString> filesInKey;
    int lastNumber = 0;
    bool birthDatesAdded = false;
};
