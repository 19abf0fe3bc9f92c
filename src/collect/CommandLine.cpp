#include "collect/CommandLine.h"

#include "collect/Collector.h"
#include "collect/CsvTable.h"
#include "collect/ErrorLog.h"
#include "collect/InputFiles.h"

#include <QCommandLineParser>
#include <QSaveFile>

namespace {

const QString description = QStringLiteral(
    "Collects the results files of the test battery into one table.\n"
    "\n"
    "Each path is a results file or a folder, searched with its subfolders for\n"
    "*_N.txt. Each file is checked; problems are reported on standard error\n"
    "as file:line: reason. A file without exactly 69 lines is left out of the\n"
    "table; a file with another problem stays in it unless --strict.\n"
    "\n"
    "Exit status: 0 when every file is in the table, 1 when a file was left\n"
    "out, 2 for bad usage or when the table cannot be written.");

struct Options
{
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("Write the table to <file> instead of standard output."),
                              QStringLiteral("file")};
    QCommandLineOption excel{QStringLiteral("excel"),
                             QStringLiteral("Semicolons, decimal commas and a byte-order mark, for a spreadsheet "
                                            "under Russian settings (default: commas and decimal points, for R, "
                                            "Python and SPSS).")};
    QCommandLineOption strict{QStringLiteral("strict"), QStringLiteral("Leave out every file with a problem.")};
};

bool writeTable(const QByteArray &table, const QString &outputFile, QIODevice &out, ErrorLog &log)
{
    if (outputFile.isEmpty()) {
        auto *file = qobject_cast<QFileDevice *>(&out);
        if (out.write(table) == table.size() && (!file || file->flush()))
            return true;
        log.message(QStringLiteral("cannot write the table to standard output: %1").arg(out.errorString()));
        return false;
    }
    // Complete or not there at all: an earlier table stays as it was.
    // Unbuffered, as a buffered QSaveFile reports a failed flush as success.
    QSaveFile file(outputFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(table) == table.size() && file.commit())
        return true;
    log.message(QStringLiteral("cannot write %1: %2").arg(outputFile, file.errorString()));
    return false;
}

} // namespace

int runCollector(const QStringList &arguments, Streams streams)
{
    ErrorLog log(streams.err, streams.errIsTerminal);
    const QString program = QStringLiteral("cogbattery-collect");

    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const Options options;
    parser.addOptions({options.output, options.excel, options.strict});
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Results files and folders of them."),
                                 QStringLiteral("paths..."));

    const auto badUsage = [&](const QString &why) {
        log.message(program + QStringLiteral(": ") + why);
        log.message(QStringLiteral("Try '%1 --help'.").arg(program));
        return BadUsage;
    };
    if (!parser.parse(arguments))
        return badUsage(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        streams.out.write(parser.helpText().toUtf8());
        return AllAccepted;
    }
    if (parser.positionalArguments().isEmpty())
        return badUsage(QStringLiteral("no results file or folder given"));

    const InputFiles input = findResultsFiles(parser.positionalArguments());
    if (!input.missing.isEmpty())
        return badUsage(QStringLiteral("no such file or folder: ") + input.missing.join(QStringLiteral(", ")));
    if (input.files.isEmpty())
        log.message(QStringLiteral("no results files (*_N.txt) found"));

    Collector collector(parser.isSet(options.strict), [&](const Problem &problem) { log.report(problem); });
    for (qsizetype i = 0; i < input.files.size(); ++i) {
        collector.add(input.files[i]);
        log.progress(i + 1, input.files.size());
    }
    log.endProgress();

    const CsvStyle style = parser.isSet(options.excel) ? CsvStyle::Excel : CsvStyle::Plain;
    if (!writeTable(csvTable(collector.rows(), style), parser.value(options.output), streams.out, log))
        return BadUsage;
    if (collector.leftOutCount() > 0) {
        log.message(QStringLiteral("%1 of %2 files left out of the table")
                        .arg(collector.leftOutCount())
                        .arg(input.files.size()));
        return SomeLeftOut;
    }
    return AllAccepted;
}
