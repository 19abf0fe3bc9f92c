#include "collect/Collector.h"

#include "collect/ResultsText.h"
#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

#include <QFile>

namespace {

// The largest results file: 69 lines of single-line fields of at most 32767 characters.
constexpr qint64 largestResultsFile = 69 * (32767 * 3 + 2);

// Who the subject is, as far as a person would tell two files apart.
QString subjectKey(const QStringList &lines)
{
    return (lines[0].trimmed() + u'\n' + lines[1].trimmed()).toCaseFolded();
}

} // namespace

Collector::Collector(bool strict, Report report)
    : strict(strict)
    , report(std::move(report))
{
}

void Collector::leaveOut(const QString &path, const QString &reason)
{
    report({path, 0, reason});
    ++leftOut;
}

void Collector::add(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return leaveOut(path, QStringLiteral("cannot be read (%1); left out of the table").arg(file.errorString()));
    if (file.size() > largestResultsFile)
        return leaveOut(path, QStringLiteral("is too large to be a results file; left out of the table"));
    const ResultsText text = decodeResultsText(file.readAll());

    if (text.resavedAs) {
        const QString encoding = QString::fromLatin1(QStringConverter::nameForEncoding(*text.resavedAs));
        report({path, 0, QStringLiteral("is saved as %1, not Windows-1251: an editor saved it again; read as %1").arg(encoding)});
    }
    if (text.lines.size() != resultsLineCount)
        return leaveOut(path, QStringLiteral("has %1 lines, not %2; left out of the table").arg(text.lines.size()).arg(resultsLineCount));

    const QList<Problem> problems = check(path, text.lines);
    for (const Problem &problem : problems)
        report(problem);
    if (strict && (text.resavedAs || !problems.isEmpty()))
        return leaveOut(path, QStringLiteral("left out of the table (--strict)"));

    const QString subject = subjectKey(text.lines);
    if (!fileOfSubject.contains(subject))
        fileOfSubject.insert(subject, path);
    accepted.append({path, text.lines});
}

// The problems of the lines, and a subject already in the table.
QList<Problem> Collector::check(const QString &path, const QStringList &lines) const
{
    QList<Problem> problems;
    for (int i = 0; i < resultsLineCount; ++i)
        if (const auto reason = fieldProblem(i, lines[i]))
            problems.append({path, i + 1, *reason});

    const auto earlier = fileOfSubject.constFind(subjectKey(lines));
    if (earlier != fileOfSubject.constEnd())
        problems.append({path, 1, QStringLiteral("the same surname and name as in %1").arg(*earlier)});
    return problems;
}
