// Writes the fifteen matrix items as greyscale JPEGs item01.jpg to item15.jpg,
// and at twice the size as item01@2x.jpg to item15@2x.jpg, into the directory
// given, after checking that every item has exactly one fitting candidate, at
// the number of its key, that the candidates alone do not betray the answers,
// and that no figure crowds another or a frame line.

#include "RavenItems.h"
#include "RavenPicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: raven-items OUTPUT_DIRECTORY\n");
        return 2;
    }

    const std::vector<Item> items = ravenItems();
    std::vector<std::string> faults = checkItems(items);
    for (const Item &item : items) {
        const std::vector<std::string> crowded = checkSpacing(item);
        faults.insert(faults.end(), crowded.begin(), crowded.end());
    }
    for (const std::string &fault : faults)
        std::fprintf(stderr, "%s\n", fault.c_str());
    if (!faults.empty())
        return 1;
    std::printf("candidates-only guesser: %.3f items expected, chance: %.3f\n", candidateOnlyGuesserScore(items),
                chanceScore(items));

    const QDir output(QString::fromLocal8Bit(argv[1]));
    for (const Item &item : items)
        for (const auto &[scale, suffix] : {std::pair(1, ""), std::pair(2, "@2x")}) {
            const QString name = QStringLiteral("item%1%2.jpg").arg(item.number, 2, 10, QLatin1Char('0')).arg(QLatin1String(suffix));
            const QString path = output.filePath(name);
            QImageWriter writer(path, "jpeg");
            writer.setQuality(92);
            writer.setOptimizedWrite(true);
            if (!writer.write(paintItem(item, scale))) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
                return 1;
            }
            std::printf("%s\n", qPrintable(path));
        }
    return 0;
}
