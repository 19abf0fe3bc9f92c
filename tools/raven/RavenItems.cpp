#include "RavenItems.h"

#include <algorithm>
#include <map>
#include <random>

namespace {

constexpr int Small = 0, Medium = 1, Large = 2;
constexpr int UpperLeft = 1, UpperRight = 2, LowerRight = 4, LowerLeft = 8; // dots

using Grid = std::vector<std::vector<int>>;

// The values of one attribute as rows, the missing panel replaced.
Grid valuesOf(const Item &item, Attribute attribute, const Panel &missing)
{
    const int rows = rowsOf(item.layout), columns = columnsOf(item.layout);
    Grid grid(rows, std::vector<int>(columns));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const size_t index = size_t(r * columns + c);
            grid[r][c] = (index + 1 == item.panels.size() ? missing : item.panels[index])[attribute];
        }
    return grid;
}

int wrapped(int value, int modulo)
{
    return modulo == 0 ? value : ((value % modulo) + modulo) % modulo;
}

bool holds(const Law &law, const Grid &grid)
{
    const size_t rows = grid.size(), columns = grid.front().size();
    auto everyRow = [&](auto test) { return std::all_of(grid.begin(), grid.end(), test); };
    auto third = [&](auto combine) {
        return columns == 3 && everyRow([&](const std::vector<int> &row) { return row[2] == combine(row[0], row[1]); });
    };
    switch (law.rule) {
    case Rule::ConstantInRow:
        return everyRow([](const std::vector<int> &row) {
            return std::all_of(row.begin(), row.end(), [&](int v) { return v == row.front(); });
        });
    case Rule::ConstantInColumn:
        for (size_t c = 0; c < columns; ++c)
            for (size_t r = 1; r < rows; ++r)
                if (grid[r][c] != grid[0][c])
                    return false;
        return true;
    case Rule::ConstantEverywhere:
        return everyRow([&](const std::vector<int> &row) {
            return std::all_of(row.begin(), row.end(), [&](int v) { return v == grid[0][0]; });
        });
    case Rule::StepAlongRow:
        return everyRow([&](const std::vector<int> &row) {
            for (size_t c = 1; c < row.size(); ++c)
                if (wrapped(row[c] - row[c - 1] - law.step, law.modulo) != 0)
                    return false;
            return true;
        });
    case Rule::DistributionOfThree: {
        std::vector<int> first = grid[0];
        std::sort(first.begin(), first.end());
        if (std::adjacent_find(first.begin(), first.end()) != first.end())
            return false;
        for (const std::vector<int> &row : grid) {
            std::vector<int> sorted = row;
            std::sort(sorted.begin(), sorted.end());
            if (sorted != first)
                return false;
        }
        for (size_t c = 0; c < columns; ++c)
            for (size_t r = 0; r < rows; ++r)
                for (size_t s = r + 1; s < rows; ++s)
                    if (grid[r][c] == grid[s][c])
                        return false;
        return true;
    }
    case Rule::SumAlongRow:
        return third([](int a, int b) { return a + b; });
    case Rule::DifferenceAlongRow:
        return third([](int a, int b) { return a - b; });
    case Rule::UnionAlongRow:
        return third([](int a, int b) { return a | b; });
    case Rule::ExclusiveAlongRow:
        return third([](int a, int b) { return a ^ b; });
    case Rule::CommonAlongRow:
        return third([](int a, int b) { return a & b; });
    case Rule::RemainderAlongRow:
        return third([](int a, int b) { return a & ~b; });
    }
    return false;
}


Law law(Attribute attribute, Rule rule, int step = 0, int modulo = 0)
{
    return {attribute, rule, step, modulo};
}

Item make(int number, int key, Layout layout, Look look, std::vector<Panel> panels, std::vector<Law> laws,
          std::vector<Law> refuted, std::vector<Variation> variations)
{
    Item item{number, key, layout, look, std::move(panels), std::move(laws), std::move(refuted), std::move(variations), {}};
    item.candidates = candidatesOf(item);
    return item;
}

// Nine panels from rows of values for the attributes given, over a common base.
std::vector<Panel> matrix(const Panel &base, std::initializer_list<std::pair<Attribute, Grid>> attributes)
{
    std::vector<Panel> panels(9, base);
    for (const auto &[attribute, grid] : attributes)
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                panels[size_t(r * 3 + c)][attribute] = grid[r][c];
    return panels;
}

} // namespace

// Starting from the answer, each variation copies every
// candidate so far once per alternative value, so that every value of a
// varied attribute occurs equally often. The answer then goes to the place
// of the key and the rest are shuffled reproducibly.
std::vector<Panel> candidatesOf(const Item &item)
{
    std::vector<Panel> set = {item.panels.back()};
    for (const Variation &variation : item.variations) {
        const std::vector<Panel> before = set;
        for (int value : variation.alternatives)
            for (Panel copy : before) {
                copy[variation.attribute] = value;
                set.push_back(copy);
            }
    }
    std::vector<Panel> others(set.begin() + 1, set.end());
    std::mt19937 random(std::mt19937::result_type(1000 + item.number));
    for (size_t i = others.size(); i > 1; --i)
        std::swap(others[i - 1], others[random() % i]);
    others.insert(others.begin() + (item.key - 1), set.front());
    return others;
}

Panel panel(std::initializer_list<std::pair<Attribute, int>> values)
{
    Panel p{};
    p[Number] = 1;
    p[Size] = Medium;
    p[InnerShape] = -1;
    for (const auto &[attribute, value] : values)
        p[attribute] = value;
    return p;
}

int rowsOf(Layout layout)
{
    return layout == Layout::Field ? 1 : layout == Layout::TwoByTwo ? 2 : 3;
}

int columnsOf(Layout layout)
{
    return layout == Layout::Field ? 2 : layout == Layout::TwoByTwo ? 2 : 3;
}

bool obeys(const Item &item, const Law &law, const Panel &missing)
{
    return holds(law, valuesOf(item, law.attribute, missing));
}

bool completeRowsObey(const Item &item, const Law &law)
{
    Grid grid = valuesOf(item, law.attribute, item.panels.back());
    grid.pop_back();
    return holds(law, grid);
}

std::vector<Item> ravenItems()
{
    using L = Layout;
    std::vector<Item> items;

    // 1: bands; the piece must continue their direction and spacing.
    items.push_back(make(1, 3, L::Field, Look::Stripes,
                         {panel({{Rotation, 45}, {Size, Medium}}), panel({{Rotation, 45}, {Size, Medium}})},
                         {law(Rotation, Rule::ConstantEverywhere), law(Size, Rule::ConstantEverywhere)}, {},
                         {{Rotation, {135}}, {Size, {Small, Large}}}));

    // 2: circles growing from left to right in rows of alternating shade.
    // Size 0: the piece goes on growing; 1: it shrinks; 2: it starts small again.
    // Shade 0: the rows alternate on; 1: they are swapped.
    items.push_back(make(2, 4, L::Field, Look::CircleField, {panel({{Size, 0}}), panel({{Size, 0}})},
                         {law(Size, Rule::ConstantEverywhere), law(Shade, Rule::ConstantEverywhere)}, {},
                         {{Shade, {1}}, {Size, {1, 2}}}));

    // 3: the shape stays along the row, the shade down the column.
    items.push_back(make(3, 2, L::TwoByTwo, Look::Figures,
                         {panel({{Shape, Circle}, {Shade, White}, {Size, Large}}),
                          panel({{Shape, Circle}, {Shade, Black}, {Size, Large}}),
                          panel({{Shape, Square}, {Shade, White}, {Size, Large}}),
                          panel({{Shape, Square}, {Shade, Black}, {Size, Large}})},
                         {law(Shape, Rule::ConstantInRow), law(Shade, Rule::ConstantInColumn),
                          law(Size, Rule::ConstantEverywhere)},
                         {}, {{Shade, {White}}, {Shape, {Circle, Triangle}}}));

    // 4: the number stays along the row, the direction down the column.
    const Panel triangle = panel({{Shape, Triangle}, {Shade, Grey}, {Size, Small}});
    auto triangles = [&](int number, int rotation) {
        Panel p = triangle;
        p[Number] = number;
        p[Rotation] = rotation;
        return p;
    };
    items.push_back(make(4, 3, L::TwoByTwo, Look::Figures,
                         {triangles(1, 0), triangles(1, 180), triangles(2, 0), triangles(2, 180)},
                         {law(Number, Rule::ConstantInRow), law(Rotation, Rule::ConstantInColumn),
                          law(Shape, Rule::ConstantEverywhere), law(Shade, Rule::ConstantEverywhere)},
                         {}, {{Rotation, {0}}, {Number, {1, 3}}}));

    // 5: the outline stays along the row; the arrow inside turns a quarter
    // clockwise from left to right.
    auto arrowIn = [](int shape, int rotation) {
        return panel({{Shape, shape}, {Size, Large}, {InnerShape, Arrow}, {InnerShade, Black}, {InnerRotation, rotation}});
    };
    items.push_back(make(5, 4, L::TwoByTwo, Look::Figures,
                         {arrowIn(Circle, 0), arrowIn(Circle, 90), arrowIn(Square, 180), arrowIn(Square, 270)},
                         {law(Shape, Rule::ConstantInRow), law(InnerRotation, Rule::StepAlongRow, 90, 360),
                          law(InnerShape, Rule::ConstantEverywhere)},
                         {}, {{Shape, {Circle}}, {InnerRotation, {180, 90}}}));

    // 6: one, two, three figures along each row; one kind of figure per row.
    items.push_back(make(6, 8, L::ThreeByThree, Look::Figures,
                         matrix(panel({{Shade, Black}, {Size, Small}}),
                                {{Number, {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}},
                                 {Shape, {{Circle, Circle, Circle}, {Square, Square, Square}, {Triangle, Triangle, Triangle}}}}),
                         {law(Number, Rule::StepAlongRow, 1), law(Shape, Rule::ConstantInRow),
                          law(Shade, Rule::ConstantEverywhere), law(Size, Rule::ConstantEverywhere)},
                         {law(Number, Rule::ConstantInRow)},
                         {{Number, {2}}, {Shape, {Square}}, {Shade, {White}}}));

    // 7: the arrow turns an eighth clockwise at each step; one shade per row.
    items.push_back(make(7, 1, L::ThreeByThree, Look::Figures,
                         matrix(panel({{Shape, Arrow}, {Size, Medium}}),
                                {{Rotation, {{0, 45, 90}, {90, 135, 180}, {180, 225, 270}}},
                                 {Shade, {{White, White, White}, {Grey, Grey, Grey}, {Black, Black, Black}}}}),
                         {law(Rotation, Rule::StepAlongRow, 45, 360), law(Shade, Rule::ConstantInRow),
                          law(Size, Rule::ConstantEverywhere), law(Shape, Rule::ConstantEverywhere)},
                         {law(Rotation, Rule::ConstantInRow), law(Rotation, Rule::StepAlongRow, 90, 360)},
                         {{Rotation, {225}}, {Shade, {Grey}}, {Size, {Large}}}));

    // 8: each row holds a circle, a square and a triangle; one shade per column.
    items.push_back(make(8, 6, L::ThreeByThree, Look::Figures,
                         matrix(panel({{Size, Large}}),
                                {{Shape, {{Circle, Square, Triangle}, {Square, Triangle, Circle}, {Triangle, Circle, Square}}},
                                 {Shade, {{White, Grey, Black}, {White, Grey, Black}, {White, Grey, Black}}}}),
                         {law(Shape, Rule::DistributionOfThree), law(Shade, Rule::ConstantInColumn),
                          law(Size, Rule::ConstantEverywhere)},
                         {law(Shape, Rule::ConstantInColumn), law(Shade, Rule::ConstantInRow)},
                         {{Shape, {Circle}}, {Shade, {Grey}}, {Size, {Medium}}}));

    // 9: the marker moves one quadrant clockwise at each step; one kind of
    // marker per column.
    items.push_back(make(9, 2, L::ThreeByThree, Look::Quadrants,
                         matrix(panel({{Shade, Black}}),
                                {{Position, {{0, 1, 2}, {1, 2, 3}, {2, 3, 0}}},
                                 {Shape, {{Circle, Square, Triangle}, {Circle, Square, Triangle}, {Circle, Square, Triangle}}}}),
                         {law(Position, Rule::StepAlongRow, 1, 4), law(Shape, Rule::ConstantInColumn),
                          law(Shade, Rule::ConstantEverywhere)},
                         {law(Position, Rule::ConstantInColumn), law(Position, Rule::StepAlongRow, 3, 4)},
                         {{Position, {3}}, {Shape, {Circle}}, {Shade, {White}}}));

    // 10: the third panel of a row holds as many figures as the first two
    // together; one kind per row, one shade per column.
    items.push_back(make(10, 2, L::ThreeByThree, Look::Figures,
                         matrix(panel({{Size, Small}}),
                                {{Number, {{1, 3, 4}, {2, 1, 3}, {3, 2, 5}}},
                                 {Shape, {{Circle, Circle, Circle}, {Square, Square, Square}, {Diamond, Diamond, Diamond}}},
                                 {Shade, {{White, Grey, Black}, {White, Grey, Black}, {White, Grey, Black}}}}),
                         {law(Number, Rule::SumAlongRow), law(Shape, Rule::ConstantInRow),
                          law(Shade, Rule::ConstantInColumn), law(Size, Rule::ConstantEverywhere)},
                         {law(Number, Rule::DifferenceAlongRow), law(Number, Rule::StepAlongRow, 1),
                          law(Number, Rule::StepAlongRow, 2), law(Number, Rule::DistributionOfThree)},
                         {{Number, {4}}, {Shape, {Circle}}, {Shade, {Grey}}}));

    // 11: the figure grows along each row; the shapes and the shades are each
    // distributed over the rows.
    items.push_back(make(11, 5, L::ThreeByThree, Look::Figures,
                         matrix(panel({}),
                                {{Size, {{Small, Medium, Large}, {Small, Medium, Large}, {Small, Medium, Large}}},
                                 {Shape, {{Circle, Square, Triangle}, {Triangle, Circle, Square}, {Square, Triangle, Circle}}},
                                 {Shade, {{White, Grey, Black}, {Grey, Black, White}, {Black, White, Grey}}}}),
                         {law(Size, Rule::StepAlongRow, 1), law(Shape, Rule::DistributionOfThree),
                          law(Shade, Rule::DistributionOfThree)},
                         {law(Shape, Rule::ConstantInColumn), law(Shade, Rule::ConstantInColumn),
                          law(Size, Rule::ConstantInRow)},
                         {{Size, {Medium}}, {Shape, {Triangle}}, {Shade, {Black}}}));

    // 12: outlines and inner figures are distributed over the rows
    // independently; the inner figure's shade stays down each column.
    items.push_back(make(12, 6, L::ThreeByThree, Look::Figures,
                         matrix(panel({{Size, Large}}),
                                {{Shape, {{Circle, Square, Hexagon}, {Hexagon, Circle, Square}, {Square, Hexagon, Circle}}},
                                 {InnerShape, {{Square, Triangle, Circle}, {Triangle, Circle, Square}, {Circle, Square, Triangle}}},
                                 {InnerShade, {{White, Grey, Black}, {White, Grey, Black}, {White, Grey, Black}}}}),
                         {law(Shape, Rule::DistributionOfThree), law(InnerShape, Rule::DistributionOfThree),
                          law(InnerShade, Rule::ConstantInColumn), law(Size, Rule::ConstantEverywhere)},
                         {law(Shape, Rule::ConstantInColumn), law(InnerShape, Rule::ConstantInColumn),
                          law(InnerShade, Rule::DistributionOfThree)},
                         {{Shape, {Square}}, {InnerShape, {Circle}}, {InnerShade, {Grey}}}));

    // 13: a stroke appears in the third panel when it is in exactly one of the
    // first two; the small circle keeps its shade along the row.
    items.push_back(make(13, 2, L::ThreeByThree, Look::Lines,
                         matrix(panel({{Shape, Circle}, {Size, Small}}),
                                {{Strokes, {{Top | Left, Top | Right, Left | Right},
                                            {Top | Right | Bottom, Right | Left, Top | Bottom | Left},
                                            {Left | Bottom, Bottom | Top | Right, Left | Top | Right}}},
                                 {InnerStrokes, {{Vertical, Vertical | Falling, Falling},
                                                 {Horizontal | Rising, Rising, Horizontal},
                                                 {Vertical | Horizontal, Horizontal | Falling, Vertical | Falling}}},
                                 {Shade, {{White, White, White}, {Grey, Grey, Grey}, {Black, Black, Black}}}}),
                         {law(Strokes, Rule::ExclusiveAlongRow), law(InnerStrokes, Rule::ExclusiveAlongRow),
                          law(Shade, Rule::ConstantInRow), law(Shape, Rule::ConstantEverywhere)},
                         {law(Strokes, Rule::UnionAlongRow), law(Strokes, Rule::CommonAlongRow),
                          law(Strokes, Rule::RemainderAlongRow), law(InnerStrokes, Rule::UnionAlongRow),
                          law(InnerStrokes, Rule::CommonAlongRow)},
                         {{Strokes, {Top | Right | Bottom | Left}},
                          {InnerStrokes, {Vertical | Horizontal | Falling}},
                          {Shade, {Grey}}}));

    // 14: the third panel holds every dot of the first two; the outlines are
    // distributed over the rows; the dots keep their shade along the row.
    items.push_back(make(14, 4, L::ThreeByThree, Look::DottedFrame,
                         matrix(panel({{Size, Large}}),
                                {{Dots, {{UpperLeft | UpperRight, UpperRight | LowerRight, UpperLeft | UpperRight | LowerRight},
                                         {LowerLeft, UpperLeft | LowerLeft, UpperLeft | LowerLeft},
                                         {UpperRight | LowerLeft, UpperRight | LowerRight,
                                          UpperRight | LowerRight | LowerLeft}}},
                                 {Shape, {{Circle, Square, Hexagon}, {Square, Hexagon, Circle}, {Hexagon, Circle, Square}}},
                                 {Shade, {{Black, Black, Black}, {White, White, White}, {Grey, Grey, Grey}}}}),
                         {law(Dots, Rule::UnionAlongRow), law(Shape, Rule::DistributionOfThree),
                          law(Shade, Rule::ConstantInRow), law(Size, Rule::ConstantEverywhere)},
                         {law(Dots, Rule::ExclusiveAlongRow), law(Dots, Rule::CommonAlongRow),
                          law(Dots, Rule::RemainderAlongRow), law(Shape, Rule::ConstantInColumn)},
                         {{Dots, {LowerRight | LowerLeft}}, {Shape, {Circle}}, {Shade, {Black}}}));

    // 15: the third panel keeps the strokes of the first that the second
    // lacks; the small figures are distributed over the rows; one shade per
    // column.
    items.push_back(make(15, 5, L::ThreeByThree, Look::Lines,
                         matrix(panel({{Size, Small}}),
                                {{Strokes, {{Top | Right | Bottom | Left, Top | Bottom, Right | Left},
                                            {Top | Right | Left, Left | Bottom, Top | Right},
                                            {Right | Bottom | Left, Right | Top, Bottom | Left}}},
                                 {InnerStrokes, {{Falling | Rising, Rising, Falling},
                                                 {Vertical | Horizontal, Horizontal | Falling, Vertical},
                                                 {Vertical | Rising, Vertical, Rising}}},
                                 {Shape, {{Circle, Square, Triangle}, {Triangle, Circle, Square}, {Square, Triangle, Circle}}},
                                 {Shade, {{White, Grey, Black}, {White, Grey, Black}, {White, Grey, Black}}}}),
                         {law(Strokes, Rule::RemainderAlongRow), law(InnerStrokes, Rule::RemainderAlongRow),
                          law(Shape, Rule::DistributionOfThree), law(Shade, Rule::ConstantInColumn)},
                         {law(Strokes, Rule::ExclusiveAlongRow), law(Strokes, Rule::UnionAlongRow),
                          law(Strokes, Rule::CommonAlongRow), law(InnerStrokes, Rule::UnionAlongRow),
                          law(Shape, Rule::ConstantInColumn)},
                         {{Strokes, {Top | Bottom | Left}}, {InnerStrokes, {Vertical}}, {Shape, {Triangle}}}));

    return items;
}

std::vector<std::string> checkItem(const Item &item)
{
    std::vector<std::string> faults;
    const std::string name = "item " + std::to_string(item.number) + ": ";
    const size_t expected = item.layout == Layout::ThreeByThree ? 8 : 6;
    if (item.candidates.size() != expected)
        faults.push_back(name + std::to_string(item.candidates.size()) + " candidates");
    if (item.panels.size() != size_t(rowsOf(item.layout) * columnsOf(item.layout)))
        faults.push_back(name + "wrong number of panels");
    if (item.key < 1 || size_t(item.key) > item.candidates.size() || item.candidates[item.key - 1] != item.panels.back())
        faults.push_back(name + "the answer is not at the key");

    int fitting = 0;
    for (size_t i = 0; i < item.candidates.size(); ++i) {
        const bool fits = std::all_of(item.laws.begin(), item.laws.end(),
                                      [&](const Law &law) { return obeys(item, law, item.candidates[i]); });
        fitting += fits;
        if (fits && int(i) + 1 != item.key)
            faults.push_back(name + "candidate " + std::to_string(i + 1) + " fits as well");
        for (size_t j = i + 1; j < item.candidates.size(); ++j)
            if (item.candidates[i] == item.candidates[j])
                faults.push_back(name + "candidates " + std::to_string(i + 1) + " and " + std::to_string(j + 1) + " are equal");
    }
    if (fitting == 0)
        faults.push_back(name + "no candidate fits");

    for (const Law &law : item.refuted)
        if (completeRowsObey(item, law))
            faults.push_back(name + "the complete rows do not rule out a tempting law on attribute "
                             + std::to_string(law.attribute));

    // Every varied attribute must be governed by a law, or it could not decide.
    for (const Variation &variation : item.variations)
        if (std::none_of(item.laws.begin(), item.laws.end(),
                         [&](const Law &law) { return law.attribute == variation.attribute; }))
            faults.push_back(name + "a varied attribute follows no law");
    return faults;
}

std::vector<std::string> checkItems(const std::vector<Item> &items)
{
    std::vector<std::string> faults;
    for (const Item &item : items) {
        const std::vector<std::string> own = checkItem(item);
        faults.insert(faults.end(), own.begin(), own.end());
    }
    if (candidateOnlyGuesserScore(items) > chanceScore(items) + 1e-9)
        faults.push_back("the candidates alone betray the answers");
    return faults;
}

double candidateOnlyGuesserScore(const std::vector<Item> &items)
{
    double expected = 0;
    for (const Item &item : items) {
        std::vector<int> agreement(item.candidates.size(), 0);
        for (int attribute = 0; attribute < attributeCount; ++attribute) {
            std::map<int, int> counts;
            for (const Panel &candidate : item.candidates)
                ++counts[candidate[attribute]];
            int most = 0;
            for (const auto &[value, count] : counts)
                most = std::max(most, count);
            for (size_t i = 0; i < item.candidates.size(); ++i)
                agreement[i] += counts[item.candidates[i][attribute]] == most;
        }
        const int best = *std::max_element(agreement.begin(), agreement.end());
        const auto chosen = std::count(agreement.begin(), agreement.end(), best);
        if (agreement[size_t(item.key - 1)] == best)
            expected += 1.0 / double(chosen);
    }
    return expected;
}

double chanceScore(const std::vector<Item> &items)
{
    double expected = 0;
    for (const Item &item : items)
        expected += 1.0 / double(item.candidates.size());
    return expected;
}
