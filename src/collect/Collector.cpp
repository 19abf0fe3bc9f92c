#include "collect/Collector.h"

#include "collect/ResultsText.h"
#include "collect/SubjectCodes.h"
#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// The largest results file: 69 lines of single-line fields of at most 32767 characters.
constexpr qint64 largestResultsFile = 69 * (32767 * 3 + 2);

} // namespace

Collector::Collector(bool strict, Report report)
    : strict(strict)
    , report(std::move(report))
{
}

void Collector::leaveOut(const QString &path, const QString &reason)
{
    report({path, 0, reason, {}, {}, true});
    ++leftOut;
}

void Collector::add(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return leaveOut(path, QStringLiteral("cannot be read (%1); left out of the table").arg(file.errorString()));
    if (file.size() > largestResultsFile)
        return leaveOut(path, QStringLiteral("is too large to be a results file; left out of the table"));
    const QByteArray bytes = file.readAll();
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    if (const auto original = fileOfDigest.constFind(digest); original != fileOfDigest.constEnd())
        return leaveOut(path, QStringLiteral("is a byte-for-byte copy of %1; left out of the table").arg(*original));
    ResultsText text = decodeResultsText(bytes);

    if (!text.resavedAs.isEmpty())
        report({path, 0, QStringLiteral("is saved as %1, not Windows-1251: an editor saved it again; read as %1").arg(text.resavedAs), {}, {}});
    if (text.lines.size() != resultsLineCount)
        return leaveOut(path, QStringLiteral("has %1 lines, not %2; left out of the table").arg(text.lines.size()).arg(resultsLineCount));

    const QList<Problem> problems = check(path, text.lines);
    for (const Problem &problem : problems)
        report(problem);
    if (strict && (!text.resavedAs.isEmpty() || !problems.isEmpty()))
        return leaveOut(path, QStringLiteral("left out of the table (--strict)"));

    const QString identity = subjectIdentity(text.lines[0], text.lines[1]);
    if (!fileOfSubject.contains(identity))
        fileOfSubject.insert(identity, path);
    fileOfDigest.insert(digest, path);
    accepted.append({path, text.lines, {}});
}

// The problems of the lines, and a subject already in the table. A NUL
// character is taken out of its line, as spreadsheets and data frames end a
// text there.
QList<Problem> Collector::check(const QString &path, QStringList &lines) const
{
    QList<Problem> problems;
    for (int i = 0; i < resultsLineCount; ++i) {
        const QString &field = resultLines()[i].field;
        if (lines[i].contains(QChar::Null)) {
            const QString shown = QString(lines[i]).replace(QChar::Null, QChar(0x2400)); // the symbol for NUL
            problems.append({path, i + 1, QStringLiteral("%1 holds a NUL character, taken out in the table").arg(field), field, shown});
            lines[i].remove(QChar::Null);
        }
        if (const auto reason = fieldProblem(i, lines[i]))
            problems.append({path, i + 1, *reason, field, lines[i]});
    }

    const auto earlier = fileOfSubject.constFind(subjectIdentity(lines[0], lines[1]));
    if (earlier != fileOfSubject.constEnd())
        problems.append({path, 1, QStringLiteral("the same surname and name as in %1").arg(*earlier), resultLines()[0].field, lines[0]});
    return problems;
}
