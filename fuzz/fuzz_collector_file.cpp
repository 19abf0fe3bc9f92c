// The collector on one results file of any bytes, with and without --strict:
// the file is either accepted as one row of 69 single-line values or left
// out, every problem names the file and a line from 0 to 69, and a file that
// --strict accepts is one without problems.

#include "Property.h"
#include "collect/Collector.h"

#include <QDir>
#include <QFile>
#include <cstdint>
#include <unistd.h>

namespace {

// The results file of one input, in memory where the system offers it.
class InputFile
{
public:
    InputFile()
        : path((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
               + QStringLiteral("/fuzz-%1_Иванова_Анна_1.txt").arg(getpid()))
    {
    }
    ~InputFile() { QFile::remove(path); }

    void write(const uint8_t *data, size_t size) const
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input file can be written");
        require(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size), "the input is written whole");
    }

    const QString path;
};

struct Outcome
{
    QList<Problem> problems;
    QList<ResultsRow> rows;
    int leftOut = 0;
};

Outcome collect(const QString &path, bool strict)
{
    Outcome outcome;
    Collector collector(strict, [&](const Problem &problem) { outcome.problems.append(problem); });
    collector.add({path}, [](qsizetype) {});
    outcome.rows = collector.rows();
    outcome.leftOut = collector.leftOutCount();
    return outcome;
}

void checkOutcome(const Outcome &outcome, const QString &path)
{
    require(outcome.rows.size() + outcome.leftOut == 1, "a file is accepted or left out");
    for (const Problem &problem : outcome.problems) {
        require(problem.file == path, "a problem names the file");
        require(problem.line >= 0 && problem.line <= resultsLineCount, "a problem names a line of the file");
    }
    for (const ResultsRow &row : outcome.rows) {
        require(row.file == path, "a row names its file");
        require(row.values.size() == resultsLineCount, "a row holds 69 values");
        for (const QString &value : row.values)
            require(!value.contains(u'\n'), "a value is a single line");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const InputFile file;
    file.write(data, size);
    const Outcome lenient = collect(file.path, false);
    const Outcome strict = collect(file.path, true);
    checkOutcome(lenient, file.path);
    checkOutcome(strict, file.path);
    if (!strict.rows.isEmpty()) {
        require(!lenient.rows.isEmpty(), "what --strict accepts is accepted without it");
        require(lenient.problems.isEmpty(), "what --strict accepts has no problem");
        require(strict.rows.first().values == lenient.rows.first().values, "--strict reads the same values");
    }
    return 0;
}
