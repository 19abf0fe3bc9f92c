#include "collect/OutputPlan.h"

#include "collect/DataPackage.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The files a data package holds, and nothing else may be in its folder.
const char *const packageFiles[] = {resultsTableFile, itemTableFile, codebookFile, packageDescriptorFile};

QString optionOfPackageFile(const char *name)
{
    return QStringLiteral("--datapackage (%1)").arg(QLatin1String(name));
}

} // namespace

OutputPlan OutputPlan::of(const CollectRequest &request)
{
    OutputPlan plan;
    plan.files.append({QStringLiteral("--output"), request.table});
    if (request.codebook)
        plan.files.append({QStringLiteral("--codebook"), *request.codebook});
    if (request.problems)
        plan.files.append({QStringLiteral("--problems"), *request.problems});
    if (request.items)
        plan.files.append({QStringLiteral("--items"), *request.items});
    if (request.keyed())
        plan.files << OutputFile{request.keyOption, request.keyFile}
                   << OutputFile{request.keyOption + QStringLiteral(" (the key before)"), request.keyFile + QStringLiteral(".bak")};
    if (request.dataPackage) {
        // A folder reached through a link is replaced where it is.
        const QFileInfo folder(*request.dataPackage);
        plan.packageFolder = folder.isDir() ? folder.canonicalFilePath() : QDir::cleanPath(folder.absoluteFilePath());
        for (const char *name : packageFiles)
            plan.files.append({optionOfPackageFile(name), QDir(*request.dataPackage).filePath(QLatin1String(name))});
    }
    return plan;
}

QString OutputPlan::packageFile(const char *name) const
{
    return QDir(packageFolder).filePath(QLatin1String(name));
}

std::optional<QString> planRefused(const OutputPlan &plan)
{
    if (const auto why = outputsRefused(plan.files))
        return why;
    if (plan.packageFolder.isEmpty())
        return std::nullopt;
    const QFileInfo folder(plan.packageFolder);
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("--datapackage %1 is not a folder").arg(plan.packageFolder);
    for (const OutputFile &output : plan.files)
        if (!output.option.startsWith(QStringLiteral("--datapackage")) && isInFolder(output.path, plan.packageFolder))
            return QStringLiteral("%1 %2 is inside the folder of --datapackage, which is replaced whole").arg(output.option, output.path);
    if (folder.exists()) {
        QStringList own = QDir(plan.packageFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const char *name : packageFiles)
            own.removeAll(QLatin1String(name));
        if (!own.isEmpty())
            return QStringLiteral("--datapackage %1 holds files of no data package (%2), which replacing it would delete")
                .arg(plan.packageFolder, own.join(QStringLiteral(", ")));
    }
    return std::nullopt;
}
