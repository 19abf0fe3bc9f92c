// The generator of the matrix items: its checks hold for the fifteen items,
// they catch broken items, the pictures keep their figures apart and continue
// the bands into the answer, and the committed pictures, at both sizes, are
// the ones it draws.
#include "RavenItems.h"
#include "RavenPicture.h"
#include "engine/RavenKey.h"

#include <QImage>
#include <QTest>

class RavenItemsTest : public QObject
{
    Q_OBJECT

    static Item itemNumber(int number) { return ravenItems()[size_t(number - 1)]; }

    static bool mentions(const std::vector<std::string> &faults, const std::string &text)
    {
        return std::any_of(faults.begin(), faults.end(),
                           [&](const std::string &fault) { return fault.find(text) != std::string::npos; });
    }

private slots:
    void everyItemPassesItsChecks()
    {
        std::vector<std::string> faults = checkItems(ravenItems());
        for (const Item &item : ravenItems()) {
            const std::vector<std::string> crowded = checkSpacing(item);
            faults.insert(faults.end(), crowded.begin(), crowded.end());
        }
        QVERIFY2(faults.empty(), faults.empty() ? "" : faults.front().c_str());
    }

    void itemsFollowTheTestPlan()
    {
        const std::vector<Item> items = ravenItems();
        QCOMPARE(items.size(), size_t(ravenItemCount));
        for (const Item &item : items) {
            const int n = item.number;
            QCOMPARE(item.key, ravenKey[size_t(n - 1)]);
            const Layout layout = n <= 2 ? Layout::Field : n <= 5 ? Layout::TwoByTwo : Layout::ThreeByThree;
            QCOMPARE(item.layout, layout);
            QCOMPARE(item.candidates.size(), size_t(n <= 5 ? 6 : 8));
            // Exactly one candidate obeys every law, and it is the one under the key.
            for (size_t i = 0; i < item.candidates.size(); ++i) {
                const bool fits = std::all_of(item.laws.begin(), item.laws.end(), [&](const Law &law) {
                    return obeys(item, law, item.candidates[i]);
                });
                QCOMPARE(fits, int(i) + 1 == item.key);
            }
        }
    }

    void candidatesAloneBetrayNothing()
    {
        const std::vector<Item> items = ravenItems();
        QCOMPARE(candidateOnlyGuesserScore(items), chanceScore(items));
        // Every varied value occurs equally often among the candidates.
        for (const Item &item : items)
            for (const Variation &variation : item.variations) {
                std::map<int, int> counts;
                for (const Panel &candidate : item.candidates)
                    ++counts[candidate[variation.attribute]];
                QCOMPARE(counts.size(), variation.alternatives.size() + 1);
                for (const auto &[value, count] : counts)
                    QCOMPARE(size_t(count), item.candidates.size() / counts.size());
            }
    }

    void checksCatchBrokenItems()
    {
        Item unruled = itemNumber(6);
        unruled.variations = {{Rotation, {90}}, {Shape, {Square}}, {Shade, {White}}};
        unruled.candidates = candidatesOf(unruled);
        QVERIFY(mentions(checkItem(unruled), "fits as well"));
        QVERIFY(mentions(checkItem(unruled), "follows no law"));

        Item misplaced = itemNumber(7);
        std::swap(misplaced.candidates[0], misplaced.candidates[1]);
        QVERIFY(mentions(checkItem(misplaced), "not at the key"));

        Item twins = itemNumber(8);
        twins.candidates[2] = twins.candidates[3];
        QVERIFY(mentions(checkItem(twins), "are equal"));

        Item ambiguous = itemNumber(13);
        ambiguous.refuted.push_back({Shade, Rule::ConstantInRow});
        QVERIFY(mentions(checkItem(ambiguous), "tempting law"));

        // Distractors that each change one attribute of the answer leave the
        // answer as the most common value everywhere.
        std::vector<Item> items = ravenItems();
        Item &telling = items[10];
        const Panel answer = telling.panels.back();
        const std::vector<std::vector<std::pair<Attribute, int>>> changes = {
            {{Size, 1}}, {{Size, 2}}, {{Shape, 1}}, {{Shape, 2}}, {{Shade, 1}}, {{Shade, 2}}, {{Size, 1}, {Shape, 1}}};
        telling.candidates = {};
        for (const auto &change : changes) {
            Panel distractor = answer;
            for (const auto &[attribute, by] : change)
                distractor[attribute] = (answer[attribute] + by) % 3;
            telling.candidates.push_back(distractor);
        }
        telling.candidates.insert(telling.candidates.begin() + (telling.key - 1), answer);
        QVERIFY(checkItem(telling).empty());
        QVERIFY(mentions(checkItems(items), "betray"));
    }

    void crowdedFiguresAreCaught()
    {
        Item large = itemNumber(10);
        for (Panel &panel : large.candidates)
            panel[Size] = 2;
        QVERIFY(mentions(checkSpacing(large), "of another figure"));

        // The dots of item 14 sit 3 to 4 pixels inside their outlines.
        QVERIFY(checkSpacing(itemNumber(14), 3).empty());
        QVERIFY(mentions(checkSpacing(itemNumber(14), 5), "of another figure"));

        // The largest circles of item 2 keep 3 pixels from the field's frame.
        QVERIFY(mentions(checkSpacing(itemNumber(2), 4), "of a frame line"));
    }

    // The bands run up to the right at 45 degrees, so each point of the
    // missing piece lies on the band of the field point up and to the right of
    // it, above the piece; the answer must show the same there.
    void answerContinuesTheBands()
    {
        const Item item = itemNumber(1);
        QCOMPARE(item.panels.back()[Rotation], 45);
        for (int scale : {1, 2}) {
            const QImage picture = paintItem(item, scale);
            const QPoint hole = missingPlace(item).topLeft().toPoint() * scale;
            const QPoint answer = candidatePlace(item, size_t(item.key - 1)).topLeft().toPoint() * scale;
            const int side = int(missingPlace(item).width()) * scale, margin = 4 * scale;
            qint64 difference = 0, compared = 0;
            for (int y = margin; y < side - margin; ++y)
                for (int x = margin; x + y < side - 3 * margin; ++x) {
                    const int up = y + 2 * margin;
                    difference += qAbs(int(picture.constScanLine(answer.y() + y)[answer.x() + x])
                                       - int(picture.constScanLine(hole.y() + y - up)[hole.x() + x + up]));
                    ++compared;
                }
            QVERIFY2(difference < 2 * compared, qPrintable(QStringLiteral("scale %1: %2 on average").arg(scale).arg(
                                                     double(difference) / double(compared))));
        }
    }

    void programPicturesAreTheGeneratorsOwn_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("1x") << 1 << QString();
        QTest::newRow("2x") << 2 << QStringLiteral("@2x");
    }

    void programPicturesAreTheGeneratorsOwn()
    {
        QFETCH(int, scale);
        QFETCH(QString, suffix);
        for (const Item &item : ravenItems()) {
            const QImage drawn = paintItem(item, scale);
            const QImage shipped =
                QImage(QStringLiteral(RAVEN_ASSETS "/item%1%2.jpg").arg(item.number, 2, 10, QChar(u'0')).arg(suffix))
                    .convertToFormat(QImage::Format_Grayscale8);
            QCOMPARE(shipped.size(), drawn.size());
            qint64 difference = 0;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    difference += qAbs(int(drawn.constScanLine(y)[x]) - int(shipped.constScanLine(y)[x]));
            const double mean = double(difference) / (drawn.width() * drawn.height());
            QVERIFY2(mean < 2.0, qPrintable(QStringLiteral("item %1 differs by %2 on average").arg(item.number).arg(mean)));
        }
    }
};

QTEST_MAIN(RavenItemsTest)
#include "tst_raven_items.moc"
