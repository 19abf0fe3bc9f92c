#include "collect/Collector.h"

#include "collect/FileBytes.h"
#include "collect/FoldedText.h"
#include "collect/InParallel.h"
#include "collect/ResultsText.h"
#include "collect/SelfConsistency.h"
#include "collect/SubjectCodes.h"
#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

#include <vector>

namespace {

// The largest results file: single-line fields of at most 32767 characters.
constexpr qint64 largestResultsFile = resultsLineCount * (32767 * 3 + 2);

// Whether the text holds the word, not as a part of a longer word.
bool holdsWord(const QString &text, const QString &word)
{
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
        const qsizetype end = at + word.size();
        if ((at == 0 || !text[at - 1].isLetterOrNumber()) && (end == text.size() || !text[end].isLetterOrNumber()))
            return true;
    }
    return false;
}

// A copy of the text of its own, where a line is a view into the file's text.
QString ownCopy(const QString &line)
{
    return QString(line.constData(), line.size());
}

} // namespace

Collector::Collector(bool strict, Report report, Reader reader)
    : strict(strict)
    , report(std::move(report))
    , reader(std::move(reader))
{
}

qsizetype Collector::readAhead()
{
    return 4 * workerCount();
}

void Collector::add(const QStringList &paths, const Progress &progress)
{
    accepted.reserve(accepted.size() + paths.size());
    std::vector<Reading> readings(paths.size());
    inParallelThenInOrder(
        paths.size(),
        [&](qsizetype i) {
            // A reader that fails, whatever the reason, leaves its file out as unreadable.
            QString failure;
            try {
                readings[i] = read(paths[i]);
                return;
            } catch (const std::bad_alloc &) {
                failure = QStringLiteral("out of memory");
            } catch (const std::exception &exception) {
                failure = QString::fromLocal8Bit(exception.what());
            }
            readings[i] = {};
            readings[i].path = paths[i];
            readings[i].fault = QStringLiteral("cannot be read (%1); left out of the table").arg(failure);
        },
        [&](qsizetype i) {
            take(readings[i]);
            readings[i] = {};
            progress(i + 1);
        },
        readAhead());
}

void Collector::leaveOut(const QString &path, const QString &reason)
{
    report({path, 0, reason, {}, {}, true});
    ++leftOut;
}

Collector::Reading Collector::read(const QString &path) const
{
    Reading reading;
    reading.path = path;
    const FileBytes file = reader(path, largestResultsFile);
    if (!file.error.isEmpty()) {
        reading.fault = QStringLiteral("cannot be read (%1); left out of the table").arg(file.error);
        return reading;
    }
    if (file.tooLarge) {
        reading.fault = QStringLiteral("is too large to be a results file; left out of the table");
        return reading;
    }
    reading.bytes = file.bytes;
    reading.text = decodeResultsText(reading.bytes);
    QStringList &lines = reading.text.lines;
    if (lines.size() != resultsLineCount)
        return reading;
    reading.problems = check(path, lines, reading.text.text.contains(QChar::Null));
    reading.identity = subjectIdentity([&](int index) { return lines[index]; });
    reading.freeTextNotices = freeTextNotices(path, lines);
    return reading;
}

// In the order of the reports of a file read alone: a copy, the encoding, the
// count of lines, the problems, then the notices.
void Collector::take(Reading &reading)
{
    const QString &path = reading.path;
    if (!reading.fault.isEmpty())
        return leaveOut(path, reading.fault);
    if (const auto original = fileOfContent.constFind(reading.bytes); original != fileOfContent.constEnd())
        return leaveOut(path, QStringLiteral("is a byte-for-byte copy of %1; left out of the table").arg(*original));
    const ResultsText &text = reading.text;
    if (!text.resavedAs.isEmpty())
        report({path, 0, QStringLiteral("is saved as %1, not Windows-1251: an editor saved it again; read as %1").arg(text.resavedAs), {}, {}});
    if (text.lines.size() != resultsLineCount)
        return leaveOut(path, QStringLiteral("has %1 lines, not %2; left out of the table").arg(text.lines.size()).arg(resultsLineCount));

    const QString &identity = reading.identity;
    QList<Problem> &problems = reading.problems;
    if (const auto earlier = fileOfSubject.constFind(identity); earlier != fileOfSubject.constEnd()) {
        const int first = linesDisclosing(Disclosure::Name).first();
        problems.append({path, first + 1, QStringLiteral("the same surname, name and birth date as in %1").arg(*earlier),
                         resultLines()[first].field, text.lines[first]});
    }
    for (Problem &problem : problems) {
        problem.value.detach(); // a copy of its own, as the text goes with a file left out
        report(problem);
    }
    if (strict && (!text.resavedAs.isEmpty() || !problems.isEmpty()))
        return leaveOut(path, QStringLiteral("left out of the table (--strict)"));
    const QString names = namesOfIdentity(identity);
    if (const auto namesake = namesakeNotice(reading, names))
        report(*namesake);
    for (Problem &notice : reading.freeTextNotices) {
        notice.value.detach();
        report(notice);
    }

    if (!fileOfSubject.contains(identity))
        fileOfSubject.insert(identity, path);
    const int birthLine = linesDisclosing(Disclosure::BirthDate).first();
    if (!subjectOfNames.contains(names))
        subjectOfNames.insert(names, {path, ownCopy(text.lines[birthLine])});
    fileOfContent.insert(reading.bytes, path);
    QStringList values;
    values.reserve(text.lines.size());
    for (const QString &line : text.lines)
        values.append(ownCopy(line));
    accepted.append({path, values, identity});
}

// The problems of the lines, each alone and against each other. A NUL
// character is taken out of its line, as spreadsheets and data frames end a
// text there; the lines are searched for one only when the whole text holds one.
QList<Problem> Collector::check(const QString &path, QStringList &lines, bool holdsNul)
{
    QList<Problem> problems;
    const auto &described = resultLines();
    for (int i = 0; i < resultsLineCount; ++i) {
        const QString &field = described[i].field;
        if (holdsNul && lines[i].contains(QChar::Null)) {
            const QString shown = QString(lines[i]).replace(QChar::Null, QChar(0x2400)); // the symbol for NUL
            problems.append({path, i + 1, QStringLiteral("%1 holds a NUL character, taken out in the table").arg(field), field, shown});
            lines[i].remove(QChar::Null);
        }
        if (const auto reason = fieldProblem(i, lines[i]))
            problems.append({path, i + 1, *reason, field, lines[i]});
    }
    return problems + contradictions(path, lines);
}

// A namesake of an earlier subject: the same names, another birth date.
std::optional<Problem> Collector::namesakeNotice(const Reading &reading, const QString &names) const
{
    const auto namesake = subjectOfNames.constFind(names);
    if (namesake == subjectOfNames.constEnd() || fileOfSubject.contains(reading.identity))
        return std::nullopt;
    const int birthLine = linesDisclosing(Disclosure::BirthDate).first();
    const QString &birthDate = reading.text.lines[birthLine];
    return Problem{reading.path, birthLine + 1,
                   QStringLiteral("a namesake of the subject in %1, born %2 (not %3): another subject, with a code of its own")
                       .arg(namesake->file, namesake->birthDate, birthDate),
                   resultLines()[birthLine].field, birthDate};
}

// The subject's own names or contact in a free text, where they identify the
// subject even in a table without the names.
QList<Problem> Collector::freeTextNotices(const QString &path, const QStringList &lines)
{
    QList<Problem> found;
    static const QList<int> identifying = linesDisclosing(Disclosure::Name) + linesDisclosing(Disclosure::Contact);
    QList<std::pair<int, QString>> ownWords; // line, its text folded
    for (const int own : identifying)
        if (const QString word = folded(lines[own]); word.size() >= 2)
            ownWords.append({own, word});
    for (const int freeText : linesDisclosing(Disclosure::FreeText)) {
        if (lines[freeText].size() < 2)
            continue;
        const QString text = folded(lines[freeText]);
        for (const auto &[own, word] : ownWords) {
            if (!holdsWord(text, word))
                continue;
            const QString &field = resultLines()[freeText].field;
            found.append({path, freeText + 1,
                          QStringLiteral("%1 holds the subject's %2: the free text identifies the subject")
                              .arg(field, resultLines()[own].field),
                          field, lines[freeText]});
            break;
        }
    }
    return found;
}
