#pragma once

// The fifteen matrix items: what each panel shows, the rules that tie the
// panels together, and the numbered candidates. Nothing here draws; the
// drawing lives in RavenPicture.

#include <array>
#include <string>
#include <vector>

enum Attribute {
    Shape,        // figure: see Figure
    Number,       // how many figures
    Size,         // 0 small, 1 medium, 2 large
    Shade,        // 0 white, 1 grey, 2 black
    Rotation,     // degrees clockwise
    Position,     // quadrant clockwise from the upper left: 0 to 3
    InnerShape,   // figure inside the figure, -1 none
    InnerShade,
    InnerRotation,
    Strokes,      // bit set of the strokes of a square: see Stroke
    InnerStrokes, // bit set of the strokes across it
    Dots,         // bit set of the four quadrant dots
    attributeCount
};

constexpr int White = 0, Grey = 1, Black = 2; // shades
enum Figure { Circle, Square, Triangle, Diamond, Hexagon, Arrow };
enum Stroke { Top = 1, Right = 2, Bottom = 4, Left = 8, Vertical = 16, Horizontal = 32, Falling = 64, Rising = 128 };

using Panel = std::array<int, attributeCount>;

// A panel with every attribute at its neutral value, then the given ones.
Panel panel(std::initializer_list<std::pair<Attribute, int>> values);

enum class Rule {
    ConstantInRow,
    ConstantInColumn,
    ConstantEverywhere,
    StepAlongRow,         // each panel of a row is the previous one plus a step
    DistributionOfThree,  // each row holds the same three values, no column repeats one
    SumAlongRow,          // third = first + second
    DifferenceAlongRow,   // third = first - second
    UnionAlongRow,        // bit sets: third = first or second
    ExclusiveAlongRow,    // third = first xor second
    CommonAlongRow,       // third = first and second
    RemainderAlongRow,    // third = first and not second
};

struct Law
{
    Attribute attribute;
    Rule rule;
    int step = 0;
    int modulo = 0; // 0: plain integers; else steps wrap (rotation 360, quadrants 4)
};

enum class Layout {
    Field,       // one patterned field with a piece missing at its lower right
    TwoByTwo,
    ThreeByThree,
};

// How the panels of an item are drawn.
enum class Look {
    Stripes,      // field of bands: Rotation gives the direction, Size the spacing
    CircleField,  // field of circles: Size and Shade say how the missing piece continues it
    Figures,      // Number figures of one kind, with an optional inner figure
    Quadrants,    // a square in four quadrants with a marker in one of them
    Lines,        // strokes of a square and across it, a small circle in the middle
    DottedFrame,  // an outline figure with dots in its quadrants
};

struct Variation
{
    Attribute attribute;
    std::vector<int> alternatives; // values other than the answer's
};

struct Item
{
    int number;
    int key;
    Layout layout;
    Look look;
    std::vector<Panel> panels;  // row by row; the last one is the missing one, holding the answer
    std::vector<Law> laws;      // what every row (column) obeys, the missing panel included
    std::vector<Law> refuted;   // tempting laws that the complete rows contradict
    std::vector<Variation> variations;
    std::vector<Panel> candidates; // candidates[key - 1] is the answer
};

int rowsOf(Layout layout);
int columnsOf(Layout layout);

// Whether the panels, with the given one in the missing place, obey the law.
bool obeys(const Item &item, const Law &law, const Panel &missing);
// Whether the complete rows (all but the last) obey the law.
bool completeRowsObey(const Item &item, const Law &law);

// The fifteen items with their candidates.
std::vector<Item> ravenItems();

// The candidate parts of an item, from its panels and variations.
std::vector<Panel> candidatesOf(const Item &item);

// Every way in which the items fail their checks; empty when all hold.
std::vector<std::string> checkItem(const Item &item);
std::vector<std::string> checkItems(const std::vector<Item> &items);

// The expected number of items a guesser gets right who sees only the
// candidates and picks those that agree most with the most frequent value of
// each attribute, and the number expected by chance.
double candidateOnlyGuesserScore(const std::vector<Item> &items);
double chanceScore(const std::vector<Item> &items);
