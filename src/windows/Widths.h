#pragma once

// The widths of the page's controls, in pixels, in one place.
namespace Width {

constexpr int subjectField = 305;      // the subject's name at the top of a window
constexpr int questionField = 400;     // a free answer under its question, at most
constexpr int answerField = 121;       // a number of the mathematics sheet or the matrices, a word heard
constexpr int expressionField = 160;   // the value of the expression on the hand and eye window
constexpr int calculatorField = 200;   // number A or B of the unusual calculator
constexpr int yesNoGroup = 160;        // "да" and "нет" beside a detail field
constexpr int detailField = 320;       // the detail of a "да"
constexpr int siblingNumber = 32;      // "n." before a sibling row
constexpr int playButton = 137;        // "Прослушать №n" and the listening windows' forward button
constexpr int operationButton = 100;   // a calculator operation, at least
constexpr int ruleButton = 160;        // a candidate rule of the calculator, at least
constexpr int doneButton = 75;         // "Готово" under the rules, at least
constexpr int calculatorWarning = 360; // the warning beside "Ввести ответы"

// Blocks of instructions, at most this wide.
constexpr int listeningInstructions = 609;
constexpr int mathInstructions = 753; // on the mathematics start window and on its sheet
constexpr int calculatorInstructions = 705;
constexpr int matricesInstructions = 700;

// A date typed in three parts: the day and month fields, the year field and
// the gap between the parts.
struct DateWidths
{
    int dayOrMonth;
    int year;
    int gap;
};
constexpr DateWidths birthDate{48, 80, 16};
constexpr DateWidths siblingDate{40, 64, 10}; // in a row of ten, under "Дата рождения"

} // namespace Width
