#include "collect/CommandLine.h"

#include "collect/Codebook.h"
#include "collect/Collector.h"
#include "collect/CsvTable.h"
#include "collect/ErrorLog.h"
#include "collect/InputFiles.h"
#include "collect/ItemColumns.h"
#include "collect/ItemOutputs.h"
#include "collect/ProblemsTable.h"
#include "collect/SubjectCodes.h"
#include "engine/OutputFile.h"
#include "engine/Version.h"

#include <QCommandLineParser>

namespace {

const QString program = QStringLiteral("cogbattery-collect");

const QString description = QStringLiteral(
    "Collects the results files of the test battery into one table.\n"
    "\n"
    "Each path is a results file or a folder, searched with its subfolders for\n"
    "surname_name_N.txt and copies named \"surname_name_N (M).txt\". Each file\n"
    "is checked; problems are reported on standard error as file:line: reason,\n"
    "and so is every file or folder seen and not read. A file without exactly\n"
    "69 lines, or a byte-for-byte copy of another, is left out of the table; a\n"
    "file with another problem stays in it unless --strict. An output file is\n"
    "replaced whole or not at all, and never by a table without rows.\n"
    "\n"
    "Exit status: 0 when every file seen is in the table, 1 when something was\n"
    "left out or nothing went into the table, 2 for bad usage or when a file\n"
    "cannot be written.");

struct Options
{
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("Write the table to <file> instead of standard output."),
                              QStringLiteral("file")};
    QCommandLineOption excel{QStringLiteral("excel"),
                             QStringLiteral("Semicolons, decimal commas and a byte-order mark, for a spreadsheet "
                                            "under Russian settings (default: commas and decimal points, for R, "
                                            "Python and SPSS). Applies to every file written.")};
    QCommandLineOption strict{QStringLiteral("strict"), QStringLiteral("Leave out every file with a problem.")};
    QCommandLineOption codebook{QStringLiteral("codebook"),
                                QStringLiteral("Write the table's data dictionary to <file>: for each column its "
                                               "line, type, unit, range, Russian and English description and codes."),
                                QStringLiteral("file")};
    QCommandLineOption pseudonymise{
        QStringLiteral("pseudonymise"),
        QStringLiteral("Leave the file, surname, name and contact columns out of the table, and write which "
                       "subject code stands for whom into <keyfile>, extending a key written before so that codes "
                       "stay the same. Keep the key apart from the data."),
        QStringLiteral("keyfile")};
    QCommandLineOption problems{QStringLiteral("problems"),
                                QStringLiteral("Write every problem also to <file>: file, line, column, value, reason."),
                                QStringLiteral("file")};

    QList<QCommandLineOption> all() const { return {output, excel, strict, codebook, pseudonymise, problems}; }
    QList<QCommandLineOption> files() const { return {output, codebook, pseudonymise, problems}; }
};

QString counted(qsizetype count, const QString &thing)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(thing, count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

int runCollector(const QStringList &arguments, Streams streams)
{
    ErrorLog log(streams.err, streams.errIsTerminal);
    const auto say = [&](const QString &text) { log.message(program + QStringLiteral(": ") + text); };

    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const Options options;
    parser.addOptions(options.all());
    const ItemOptions itemOptions;
    parser.addOptions(itemOptions.all());
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Results files and folders of them."),
                                 QStringLiteral("paths..."));

    const auto badUsage = [&](const QString &why) {
        say(why);
        log.message(QStringLiteral("Try '%1 --help'.").arg(program));
        return BadUsage;
    };
    if (!parser.parse(arguments))
        return badUsage(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        streams.out.write(parser.helpText().toUtf8());
        return AllAccepted;
    }
    if (parser.isSet(version)) {
        streams.out.write(program.toUtf8() + ' ' + cogbatteryVersion + '\n');
        return AllAccepted;
    }
    for (const QCommandLineOption &option : options.files() + itemOptions.all())
        if (parser.isSet(option) && parser.value(option).isEmpty())
            return badUsage(QStringLiteral("an empty file name after --%1").arg(option.names().constLast()));
    if (parser.positionalArguments().isEmpty())
        return badUsage(QStringLiteral("no results file or folder given"));

    const bool pseudonymised = parser.isSet(options.pseudonymise);
    const QString keyFile = parser.value(options.pseudonymise);
    SubjectCodes codes;
    if (pseudonymised) {
        if (const auto why = codes.readKey(keyFile)) {
            say(QStringLiteral("cannot read the key %1: %2").arg(keyFile, *why));
            return BadUsage;
        }
    }

    const InputFiles input = findResultsFiles(parser.positionalArguments());
    if (!input.missing.isEmpty())
        return badUsage(QStringLiteral("no such file or folder: ") + input.missing.join(QStringLiteral(", ")));

    QList<Problem> problems;
    const auto report = [&](const Problem &problem) {
        problems.append(problem);
        log.report(problem);
    };
    for (const Problem &skipped : input.skipped)
        report(skipped);
    if (input.files.isEmpty())
        say(QStringLiteral("no results files (*_N.txt) found"));

    Collector collector(parser.isSet(options.strict), report);
    for (qsizetype i = 0; i < input.files.size(); ++i) {
        collector.add(input.files[i]);
        log.progress(i + 1, input.files.size());
    }
    log.endProgress();
    for (ResultsRow &row : collector.rows())
        row.subject = codes.code(row.file, row.values[0], row.values[1], row.values[66]);

    const CsvStyle style = parser.isSet(options.excel) ? CsvStyle::Excel : CsvStyle::Plain;
    const QList<TableColumn> columns = tableColumns(pseudonymised);
    bool written = true;
    const auto write = [&](const QString &path, const QByteArray &bytes) {
        const auto why = path.isEmpty() ? writeAll(streams.out, bytes) : writeWholeFile(path, bytes);
        if (why)
            say(QStringLiteral("cannot write %1: %2").arg(path.isEmpty() ? QStringLiteral("the table to standard output") : path, *why));
        written = written && !why;
        return !why;
    };
    const int itemFilesLeftOut = itemOptions.wanted(parser)
        ? writeItemOutputs(parser, itemOptions, collector.rows(), input.itemFiles, columns, style, {write, report, say})
        : 0;
    if (parser.isSet(options.problems))
        write(parser.value(options.problems), problemsTable(problems, style));
    if (parser.isSet(options.codebook))
        write(parser.value(options.codebook),
              codebook(columns, style, itemOptions.wanted(parser) ? itemCodebookRows() : QList<QStringList>{}));
    if (collector.rows().isEmpty())
        say(QStringLiteral("no table written, as no results file went into it"));
    else if (!pseudonymised || write(keyFile, codes.key(style)))
        write(parser.value(options.output), csvTable(collector.rows(), columns, style));

    const qsizetype leftOut = collector.leftOutCount() + input.skipped.size() + itemFilesLeftOut;
    const qsizetype problemCount = std::count_if(problems.begin(), problems.end(), [](const Problem &p) { return !p.leftOut; });
    say(QStringLiteral("%1 read: %2 in the table, %3 left out; %4 not read; %5")
            .arg(counted(input.files.size(), QStringLiteral("results file")))
            .arg(collector.rows().size())
            .arg(collector.leftOutCount())
            .arg(input.skipped.size() == 1 ? QStringLiteral("1 other file or folder")
                                           : QStringLiteral("%1 other files or folders").arg(input.skipped.size()))
            .arg(counted(problemCount, QStringLiteral("problem"))));
    if (!written)
        return BadUsage;
    return leftOut > 0 || collector.rows().isEmpty() ? SomeLeftOut : AllAccepted;
}
