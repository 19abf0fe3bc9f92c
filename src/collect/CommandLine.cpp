#include "collect/CommandLine.h"

#include "collect/CollectRequest.h"
#include "collect/Collection.h"
#include "collect/ErrorLog.h"
#include "collect/InputFiles.h"
#include "collect/ItemOutputs.h"
#include "collect/OutputPlan.h"
#include "collect/OutputWriting.h"
#include "engine/ResultLines.h"
#include "engine/Version.h"

#include <QCommandLineParser>
#include <variant>

namespace {

const QString program = QStringLiteral("cogbattery-collect");

const QString description = QStringLiteral(
    "Collects the results files of the test battery into one table.\n"
    "\n"
    "Each path is a results file or a folder, searched with its subfolders for\n"
    "surname_name_N.txt and copies named \"surname_name_N (M).txt\". Each file\n"
    "is checked; problems are reported on standard error as file:line: reason,\n"
    "and so is every file or folder seen and not read. A file without exactly\n"
    "%1 lines, or a byte-for-byte copy of another, is left out of the table; a\n"
    "file with another problem stays in it unless --strict. An output file is\n"
    "replaced whole or not at all, and never by a table without rows.\n"
    "\n"
    "Exit status: 0 when every file seen is in the table, 1 when something was\n"
    "left out or nothing went into the table, 2 for bad usage, a key that\n"
    "cannot be used, or when a file cannot be written.").arg(resultsLineCount);

struct Options
{
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("Write the table to <file> instead of standard output; \"-\" is "
                                             "standard output."),
                              QStringLiteral("file")};
    QCommandLineOption excel{QStringLiteral("excel"),
                             QStringLiteral("Semicolons, decimal commas and a byte-order mark, for a spreadsheet "
                                            "under Russian settings (default: commas and decimal points, for R, "
                                            "Python and SPSS). Applies to every file written but a key written "
                                            "before, which keeps its form.")};
    QCommandLineOption strict{QStringLiteral("strict"), QStringLiteral("Leave out every file with a problem.")};
    QCommandLineOption codebook{QStringLiteral("codebook"),
                                QStringLiteral("Write the table's data dictionary to <file>: for each column its "
                                               "line, type, unit, range, Russian and English description and codes."),
                                QStringLiteral("file")};
    QCommandLineOption pseudonymise{
        QStringLiteral("pseudonymise"),
        QStringLiteral("Leave the file, surname, name and contact columns out of the table, and write which "
                       "subject code stands for whom into <keyfile>, extending a key written before so that codes "
                       "stay the same; the key before is kept as <keyfile>.bak. Keep the key apart from the data."),
        QStringLiteral("keyfile")};
    QCommandLineOption deidentify{
        QStringLiteral("deidentify"),
        QStringLiteral("As --pseudonymise, and leave out also the birth date, the test's date, start and finish "
                       "times, school, grade, the siblings' descriptions and every free text; ages and durations "
                       "stay."),
        QStringLiteral("keyfile")};
    QCommandLineOption problems{QStringLiteral("problems"),
                                QStringLiteral("Write every problem also to <file>: file, subject, line, column, "
                                               "value, reason."),
                                QStringLiteral("file")};

    QList<QCommandLineOption> all() const
    {
        return {output, excel, strict, codebook, pseudonymise, deidentify, problems};
    }
    QList<QCommandLineOption> files() const { return {output, codebook, pseudonymise, deidentify, problems}; }
};

QString counted(qsizetype count, const QString &thing)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(thing, count == 1 ? QString() : QStringLiteral("s"));
}

QString optionName(const QCommandLineOption &option)
{
    return QStringLiteral("--") + option.names().constLast();
}

int sayBadUsage(ErrorLog &log, const QString &why)
{
    log.message(program + QStringLiteral(": ") + why);
    log.message(QStringLiteral("Try '%1 --help'.").arg(program));
    return BadUsage;
}

} // namespace

QStringList optionNames()
{
    QStringList names{QStringLiteral("--help"), QStringLiteral("--version")};
    for (const QCommandLineOption &option : Options().all() + ItemOptions().all())
        names << optionName(option);
    return names;
}

namespace {

// The request of a command line, or the exit status of a command line that
// asks for no collection (help, the version, bad usage) once answered.
std::variant<CollectRequest, int> parseCommandLine(const QStringList &arguments, Streams streams, ErrorLog &log)
{
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

    const auto badUsage = [&](const QString &why) { return sayBadUsage(log, why); };
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
            return badUsage(QStringLiteral("an empty file name after %1").arg(optionName(option)));
    if (parser.positionalArguments().isEmpty())
        return badUsage(QStringLiteral("no results file or folder given"));

    CollectRequest request;
    request.paths = parser.positionalArguments();
    request.strict = parser.isSet(options.strict);
    request.style = parser.isSet(options.excel) ? CsvStyle::Excel : CsvStyle::Plain;
    request.privacy = parser.isSet(options.deidentify)     ? Privacy::Deidentified
                      : parser.isSet(options.pseudonymise) ? Privacy::Pseudonymised
                                                           : Privacy::Named;
    const QCommandLineOption &keyOption = parser.isSet(options.deidentify) ? options.deidentify : options.pseudonymise;
    request.keyOption = optionName(keyOption);
    request.keyFile = parser.value(keyOption);
    if (parser.isSet(options.deidentify) && parser.isSet(options.pseudonymise) && parser.value(options.pseudonymise) != request.keyFile)
        return badUsage(QStringLiteral("--pseudonymise and --deidentify name two keys; --deidentify alone pseudonymises too"));
    request.table = parser.value(options.output) == u'-' ? QString() : parser.value(options.output);
    const auto optional = [&](const QCommandLineOption &option) {
        return parser.isSet(option) ? std::optional(parser.value(option)) : std::nullopt;
    };
    request.codebook = optional(options.codebook);
    request.problems = optional(options.problems);
    request.items = optional(itemOptions.items);
    request.dataPackage = optional(itemOptions.dataPackage);
    return request;
}

// Plans, collects and writes; the exit status.
int carryOut(const CollectRequest &request, Streams streams, ErrorLog &log, const std::function<void(const QString &)> &say)
{
    const OutputPlan plan = OutputPlan::of(request);
    if (const auto why = planRefused(plan))
        return sayBadUsage(log, *why + QStringLiteral("; nothing written"));
    const InputFiles input = findResultsFiles(request.paths);
    if (!input.missing.isEmpty())
        return sayBadUsage(log, QStringLiteral("no such file or folder: ") + input.missing.join(QStringLiteral(", ")));

    std::optional<Collection> collection = collect(request, input, log, say);
    if (!collection)
        return BadUsage;
    const bool written = writeOutputs(request, plan, *collection, streams.out, say);

    const qsizetype problemCount = std::count_if(collection->problems.begin(), collection->problems.end(),
                                                 [](const Problem &p) { return !p.leftOut; });
    say(QStringLiteral("%1 read: %2 in the table, %3 left out; %4 not read; %5")
            .arg(counted(input.files.size(), QStringLiteral("results file")))
            .arg(collection->rows.size())
            .arg(collection->resultsLeftOut)
            .arg(collection->notRead == 1 ? QStringLiteral("1 other file or folder")
                                          : QStringLiteral("%1 other files or folders").arg(collection->notRead))
            .arg(counted(problemCount, QStringLiteral("problem")))
        + (request.itemsWanted() ? QStringLiteral("; %1 read, %2 left out")
                                       .arg(counted(collection->items.read, QStringLiteral("item file")))
                                       .arg(collection->items.leftOut)
                                 : QString()));
    if (!written)
        return BadUsage;
    const qsizetype leftOut = collection->resultsLeftOut + collection->notRead + collection->items.leftOut;
    return leftOut > 0 || collection->rows.isEmpty() ? SomeLeftOut : AllAccepted;
}

} // namespace

int runCollector(const QStringList &arguments, Streams streams)
{
    ErrorLog log(streams.err, streams.errIsTerminal);
    const auto say = [&](const QString &text) { log.message(program + QStringLiteral(": ") + text); };
    const std::variant<CollectRequest, int> parsed = parseCommandLine(arguments, streams, log);
    if (const int *status = std::get_if<int>(&parsed))
        return *status;
    try {
        return carryOut(std::get<CollectRequest>(parsed), streams, log, say);
    } catch (const std::exception &failure) {
        // A failure on any thread ends the collection with a message, as a
        // file that cannot be written does.
        say(QStringLiteral("cannot go on: %1").arg(QString::fromLocal8Bit(failure.what())));
        return BadUsage;
    }
}
