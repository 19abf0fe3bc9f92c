#include "engine/SettingsFolder.h"

#include "engine/InstalledPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

const QString fileName = QStringLiteral("cogbattery.ini");

std::optional<QByteArray> contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

InstalledFolders packageFolders()
{
    return {QString::fromLatin1(installedProgramFolder), QString::fromLatin1(installedSettingsFolder)};
}

SettingsFile unnamedSettingsFile(const QString &programDir, const InstalledFolders &installed)
{
    const QString beside = QDir(programDir).filePath(fileName);
    if (QDir::cleanPath(programDir) != QDir::cleanPath(installed.programs))
        return {beside};
    const QString configured = QDir(installed.settings).filePath(fileName);
    if (!QFileInfo::exists(beside))
        return {configured};
    if (!QFileInfo::exists(configured))
        return {beside};
    if (contentsOf(configured) == contentsOf(beside))
        return {configured};
    const auto shown = [](const QString &path) { return QDir::toNativeSeparators(path); };
    return {configured, false,
            QStringLiteral("Найдены два разных файла настроек: %1 и %2 (его оставил рядом с программой прежний пакет). "
                           "Оставьте один из них и запустите программу снова.")
                .arg(shown(configured), shown(beside))};
}
