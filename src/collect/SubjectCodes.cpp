#include "collect/SubjectCodes.h"

#include "collect/FoldedText.h"
#include "collect/ResultsText.h"
#include "engine/DateTime.h"
#include "engine/ResultLines.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QStringList keyHeader(bool withBirthDates)
{
    QStringList header{QStringLiteral("subject")};
    for (const int index : SubjectCodes::keyLines())
        if (withBirthDates || resultLines()[index].disclosure != Disclosure::BirthDate)
            header << resultLines()[index].field;
    return header << QStringLiteral("file");
}

// A spreadsheet's apostrophe before a text that looks like a formula, taken away.
QString withoutFormulaMark(const QString &value)
{
    return value.startsWith(u'\'') && looksLikeFormula(value.mid(1)) ? value.mid(1) : value;
}

// Whether the last field of a row that has no line end is whole: a file name
// cut short rarely still ends in ".txt" or names a file.
bool wholeFileName(const QString &path)
{
    return path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) || QFileInfo::exists(path);
}

// Reads the birth date from the results file at the path; why it cannot.
std::optional<QString> readBirthDate(const QString &path, QString &birthDate)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());
    const ResultsText text = decodeResultsText(file.read(1 << 20));
    if (text.lines.size() != resultsLineCount)
        return QStringLiteral("is no results file");
    birthDate = text.lines[linesDisclosing(Disclosure::BirthDate).first()];
    birthDate.detach(); // a copy of its own, as the text goes
    return std::nullopt;
}

} // namespace

QString namesIdentity(const LineValue &value)
{
    QStringList names;
    for (const int index : linesDisclosing(Disclosure::Name))
        names << folded(value(index));
    return names.join(u'\n');
}

QString subjectIdentity(const LineValue &value)
{
    const QString typed = value(linesDisclosing(Disclosure::BirthDate).first());
    const auto date = parseWrittenDate(typed);
    return namesIdentity(value) + u'\n' + (date ? QString::number(*date) : folded(typed));
}

// A subject's identity is its names identity, a line end and its birth date;
// no line holds a line end.
QString namesOfIdentity(const QString &identity)
{
    return identity.first(identity.lastIndexOf(u'\n'));
}

QList<int> SubjectCodes::keyLines()
{
    QList<int> lines = linesDisclosing(Disclosure::Name) + linesDisclosing(Disclosure::BirthDate)
                       + linesDisclosing(Disclosure::Contact);
    std::sort(lines.begin(), lines.end());
    return lines;
}

QString SubjectCodes::keyLine(const QStringList &row, int index) const
{
    return row.value(keyLines().indexOf(index) + 1);
}

QStringList SubjectCodes::take(const CsvRecords &key)
{
    const QStringList header = keyHeader(true);
    const bool earlierVersion = !key.records.isEmpty() && key.records.first() == keyHeader(false);
    if (key.records.isEmpty() || (key.records.first() != header && !earlierVersion))
        return {QStringLiteral("1: not a key written by this program (its first line is not %1)").arg(header.join(u','))};

    if (key.unclosedQuoteLine > 0)
        return {QStringLiteral("%1: a quote opened here is never closed: the key is cut off or damaged").arg(key.unclosedQuoteLine)};
    QStringList reasons;
    const auto refuse = [&](int line, const QString &reason) { reasons << QString::number(line) + QStringLiteral(": ") + reason; };
    const int birthColumn = keyLines().indexOf(linesDisclosing(Disclosure::BirthDate).first()) + 1;
    const qsizetype fieldCount = key.records.first().size();
    static const QRegularExpression codePattern(QStringLiteral("^S([0-9]+)$"));
    QList<QStringList> taken;
    int largest = 0;
    for (qsizetype i = 1; i < key.records.size(); ++i) {
        QStringList row = key.records[i];
        const int line = key.lines[i];
        const bool last = i + 1 == key.records.size();
        if (last && !key.lastHasLineEnd && (row.size() != fieldCount || !wholeFileName(row.last()))) {
            refuse(line, QStringLiteral("the key ends inside this row: it is cut off"));
            continue;
        }
        if (row.size() != fieldCount) {
            refuse(line, QStringLiteral("has %1 fields, not %2 (%3)").arg(row.size()).arg(fieldCount).arg(key.records.first().join(u',')));
            continue;
        }
        const auto code = codePattern.match(row.first());
        if (!code.hasMatch()) {
            refuse(line, QStringLiteral("\"%1\" is not a code S0001, S0002, …").arg(row.first()));
            continue;
        }
        for (QString &value : row)
            value = withoutFormulaMark(value);
        if (earlierVersion) {
            QString birthDate;
            if (const auto why = readBirthDate(row.last(), birthDate)) {
                refuse(line, QStringLiteral("the birth date cannot be added, as %1 %2; run the collector from the folder "
                                            "the key was made in, or add the column InfoBirthDate by hand")
                                 .arg(row.last(), *why));
                continue;
            }
            row.insert(birthColumn, birthDate);
        }
        largest = std::max(largest, code.captured(1).toInt());
        taken << row;
    }
    if (!reasons.isEmpty())
        return reasons;

    // A code stands for one person, and a person has one code.
    QHash<QString, std::pair<QString, int>> personOfCode; // code → identity, line
    QHash<QString, std::pair<QString, int>> codeOfPerson; // identity → code, line
    for (qsizetype i = 0; i < taken.size(); ++i) {
        const QStringList &row = taken[i];
        const int line = key.lines[i + 1];
        const QString identity = subjectIdentity([&](int index) { return keyLine(row, index); });
        const auto person = personOfCode.constFind(row.first());
        if (person != personOfCode.constEnd() && person->first != identity)
            refuse(line, QStringLiteral("%1 is given to another person on line %2 too").arg(row.first()).arg(person->second));
        const auto code = codeOfPerson.constFind(identity);
        if (code != codeOfPerson.constEnd() && code->first != row.first())
            refuse(line, QStringLiteral("the person of line %1 (%2) has another code here, %3")
                             .arg(code->second).arg(code->first, row.first()));
        personOfCode.insert(row.first(), {identity, line});
        codeOfPerson.insert(identity, {row.first(), line});
    }
    if (!reasons.isEmpty())
        return reasons;

    rows = taken;
    for (const QStringList &row : rows) {
        codeOf.insert(subjectIdentity([&](int index) { return keyLine(row, index); }), row.first());
        filesInKey.insert(row.last());
    }
    lastNumber = largest;
    birthDatesAdded = earlierVersion && !rows.isEmpty();
    return {};
}

QString SubjectCodes::code(const ResultsRow &row)
{
    auto known = codeOf.constFind(row.identity);
    if (known == codeOf.constEnd())
        known = codeOf.insert(row.identity, QStringLiteral("S%1").arg(++lastNumber, 4, 10, QChar(u'0')));
    if (keyed && !filesInKey.contains(row.file)) {
        filesInKey.insert(row.file);
        QStringList keyRow{*known};
        for (const int index : keyLines())
            keyRow << row.values[index];
        rows.append(keyRow << row.file);
    }
    return *known;
}

QString SubjectCodes::key(CsvStyle style) const
{
    CsvWriter csv(style);
    csv.record(keyHeader(true));
    for (const QStringList &row : rows)
        csv.record(row);
    return csv.text();
}
