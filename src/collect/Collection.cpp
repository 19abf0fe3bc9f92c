#include "collect/Collection.h"

#include "collect/ItemPrivacy.h"
#include "collect/SubjectRuns.h"

#include <QFile>

namespace {

// Takes the key written before into the codes; false when it cannot be used.
bool takeEarlierKey(const CollectRequest &request, Collection &collection, const std::function<void(const QString &)> &say)
{
    const QString &keyFile = request.keyFile;
    QFile file(keyFile);
    if (!file.open(QIODevice::ReadOnly)) {
        say(QStringLiteral("cannot read the key %1: %2").arg(keyFile, file.errorString()));
        return false;
    }
    collection.keyBefore = file.readAll();
    const KeyText key = decodeKey(collection.keyBefore);
    collection.keyForm = key.form;
    const QStringList reasons = collection.codes.take(readCsv(key.text, key.form.style == CsvStyle::Excel ? u';' : u','));
    for (const QString &reason : reasons)
        say(QStringLiteral("cannot read the key %1:%2").arg(keyFile, reason));
    if (!reasons.isEmpty())
        return false;
    if (key.form.encoding != KeyForm::Utf8)
        say(QStringLiteral("the key %1 is %2, as a spreadsheet saves it; it is written back so").arg(keyFile, formName(key.form)));
    if (collection.codes.upgraded())
        say(QStringLiteral("the key %1 had no birth dates (an earlier version wrote it): they are added from the files it "
                           "names, and every code stays")
                .arg(keyFile));
    return true;
}

} // namespace

std::optional<Collection> collect(const CollectRequest &request, const InputFiles &input, ErrorLog &log,
                                  const std::function<void(const QString &)> &say)
{
    Collection collection;
    collection.codes = SubjectCodes(request.keyed());
    collection.keyForm = newKeyForm(request.style);
    if (request.keyed() && QFile::exists(request.keyFile) && !takeEarlierKey(request, collection, say))
        return std::nullopt;

    const auto report = [&](const Problem &problem) {
        collection.problems.append(problem);
        log.report(problem);
    };
    for (const Problem &skipped : input.skipped)
        report(skipped);
    collection.notRead = input.skipped.size();
    if (input.files.isEmpty())
        say(QStringLiteral("no results files (*_N.txt) found"));

    Collector collector(request.strict, report);
    collector.add(input.files, [&](qsizetype taken) { log.progress(taken, input.files.size()); });
    log.endProgress();
    collection.rows = std::move(collector.rows());
    collection.resultsLeftOut = collector.leftOutCount();
    // Item files are checked before codes are given, as --strict may leave
    // out a results file with its item file.
    PairedItems paired;
    if (request.itemsWanted()) {
        paired = pairItemFiles(collection.rows, input.itemFiles, request.strict, report);
        collection.resultsLeftOut += collection.rows.removeIf(
            [&](const ResultsRow &row) { return paired.resultsLeftOut.contains(row.file); });
    }
    for (ResultsRow &row : collection.rows)
        row.subject = collection.codes.code(row);
    numberRuns(collection.rows);
    collection.items = itemCollection(collection.rows, std::move(paired));
    leaveOutOfItems(collection.items, request.privacy);

    QHash<QString, QString> codeOfFile;
    for (const ResultsRow &row : collection.rows)
        codeOfFile.insert(row.file, row.subject);
    for (Problem &problem : collection.problems)
        problem.subject = codeOfFile.value(problem.file);
    return collection;
}
