#include "collect/CommandLine.h"

#include "collect/Codebook.h"
#include "collect/Collector.h"
#include "collect/CsvTable.h"
#include "collect/ErrorLog.h"
#include "collect/InputFiles.h"
#include "engine/ItemColumns.h"
#include "collect/ItemOutputs.h"
#include "collect/KeyFile.h"
#include "collect/OutputFiles.h"
#include "collect/ProblemsTable.h"
#include "collect/SubjectCodes.h"
#include "collect/SubjectRuns.h"
#include "engine/OutputFile.h"
#include "engine/ResultLines.h"
#include "engine/Version.h"

#include <QCommandLineParser>
#include <QFile>

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

} // namespace

QStringList optionNames()
{
    QStringList names{QStringLiteral("--help"), QStringLiteral("--version")};
    for (const QCommandLineOption &option : Options().all() + ItemOptions().all())
        names << optionName(option);
    return names;
}

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
            return badUsage(QStringLiteral("an empty file name after %1").arg(optionName(option)));
    if (parser.positionalArguments().isEmpty())
        return badUsage(QStringLiteral("no results file or folder given"));

    const Privacy privacy = parser.isSet(options.deidentify)     ? Privacy::Deidentified
                            : parser.isSet(options.pseudonymise) ? Privacy::Pseudonymised
                                                                 : Privacy::Named;
    const QCommandLineOption &keyOption = parser.isSet(options.deidentify) ? options.deidentify : options.pseudonymise;
    const QString keyFile = parser.value(keyOption);
    if (parser.isSet(options.deidentify) && parser.isSet(options.pseudonymise) && parser.value(options.pseudonymise) != keyFile)
        return badUsage(QStringLiteral("--pseudonymise and --deidentify name two keys; --deidentify alone pseudonymises too"));

    const QString tableFile = parser.value(options.output) == u'-' ? QString() : parser.value(options.output);
    QList<OutputFile> outputs{{optionName(options.output), tableFile}};
    if (parser.isSet(options.codebook))
        outputs.append({optionName(options.codebook), parser.value(options.codebook)});
    if (parser.isSet(options.problems))
        outputs.append({optionName(options.problems), parser.value(options.problems)});
    if (parser.isSet(itemOptions.items))
        outputs.append({optionName(itemOptions.items), parser.value(itemOptions.items)});
    if (privacy != Privacy::Named)
        outputs << OutputFile{optionName(keyOption), keyFile} << OutputFile{optionName(keyOption) + QStringLiteral(" (the key before)"), keyFile + QStringLiteral(".bak")};
    if (const auto why = outputsRefused(outputs))
        return badUsage(*why + QStringLiteral("; nothing written"));

    const CsvStyle style = parser.isSet(options.excel) ? CsvStyle::Excel : CsvStyle::Plain;
    SubjectCodes codes(privacy != Privacy::Named);
    KeyForm keyForm = newKeyForm(style);
    QByteArray keyBefore;
    if (privacy != Privacy::Named && QFile::exists(keyFile)) {
        QFile file(keyFile);
        if (!file.open(QIODevice::ReadOnly)) {
            say(QStringLiteral("cannot read the key %1: %2").arg(keyFile, file.errorString()));
            return BadUsage;
        }
        keyBefore = file.readAll();
        const KeyText key = decodeKey(keyBefore);
        keyForm = key.form;
        const QStringList reasons = codes.take(readCsv(key.text, key.form.style == CsvStyle::Excel ? u';' : u','));
        for (const QString &reason : reasons)
            say(QStringLiteral("cannot read the key %1:%2").arg(keyFile, reason));
        if (!reasons.isEmpty())
            return BadUsage;
        if (keyForm.encoding != KeyForm::Utf8)
            say(QStringLiteral("the key %1 is %2, as a spreadsheet saves it; it is written back so")
                    .arg(keyFile, formName(keyForm)));
        if (codes.upgraded())
            say(QStringLiteral("the key %1 had no birth dates (an earlier version wrote it): they are added from the "
                               "files it names, and every code stays")
                    .arg(keyFile));
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
    collector.add(input.files, [&](qsizetype taken) { log.progress(taken, input.files.size()); });
    log.endProgress();
    for (ResultsRow &row : collector.rows())
        row.subject = codes.code(row);
    numberRuns(collector.rows());
    if (!problems.isEmpty()) {
        QHash<QString, QString> codeOfFile;
        for (const ResultsRow &row : collector.rows())
            codeOfFile.insert(row.file, row.subject);
        for (Problem &problem : problems)
            problem.subject = codeOfFile.value(problem.file);
    }

    bool written = true;
    const auto write = [&](const QString &path, const QByteArray &bytes) {
        const auto why = path.isEmpty() ? writeAll(streams.out, bytes) : writeWholeFile(path, bytes);
        if (why)
            say(QStringLiteral("cannot write %1: %2").arg(path.isEmpty() ? QStringLiteral("the table to standard output") : path, *why));
        written = written && !why;
        return !why;
    };
    // The key first: no table goes out with codes that the key does not hold.
    bool keyWritten = true;
    if (privacy != Privacy::Named && !collector.rows().isEmpty()) {
        const QString key = codes.key(keyForm.style);
        QByteArray bytes = encodeKey(key, keyForm);
        if (decodeKey(bytes).text != key) {
            say(QStringLiteral("the key %1 cannot hold every name in %2; it is written as UTF-8 with a byte-order mark")
                    .arg(keyFile, formName(keyForm)));
            keyForm = {KeyForm::Utf8, true, keyForm.style};
            bytes = encodeKey(key, keyForm);
        }
        if (decodeKey(bytes).text != key) {
            say(QStringLiteral("the key %1 is not written, as a name in it does not read back as it is").arg(keyFile));
            keyWritten = written = false;
        } else if (bytes != keyBefore) {
            keyWritten = (keyBefore.isNull() || write(keyFile + QStringLiteral(".bak"), keyBefore)) && write(keyFile, bytes);
        }
    }
    int itemFilesLeftOut = 0;
    if (keyWritten) {
        const QList<TableColumn> columns = tableColumns(privacy);
        if (itemOptions.wanted(parser))
            itemFilesLeftOut = writeItemOutputs(parser, itemOptions, collector.rows(), input.itemFiles, columns, style,
                                                {write, report, say});
        if (collector.rows().isEmpty())
            say(QStringLiteral("no table written, as no results file went into it"));
        else
            write(tableFile, csvTable(collector.rows(), columns, style));
        if (parser.isSet(options.codebook))
            write(parser.value(options.codebook),
                  codebook(columns, style, itemOptions.wanted(parser) ? itemCodebookRows() : QList<QStringList>{}));
        if (parser.isSet(options.problems))
            write(parser.value(options.problems), problemsTable(problems, style));
    }

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
