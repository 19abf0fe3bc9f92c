#pragma once

// The run, window by window, in the order the subject meets them. The program
// opens the first; each window's forward handler opens the one after it with
// forwardTo<NextAfter<ThisWindow>>(), so the order is written here alone. A
// window's unit includes the header of the window after it, never of one
// before.

class TForm1;  // personal information
class TForm2;  // brothers and sisters: only for a subject who has them
class TForm4;  // hand and eye preference, and the expression item
class TForm11; // how the expression was solved
class TForm5;  // dichotic listening, series 1
class TForm6;  // dichotic listening, series 2, the headphones turned around
class TForm10; // the start of the mathematics test
class TForm7;  // the mathematics problem sheet
class TForm8;  // the unusual calculator
class TForm9;  // the calculator's rules
class TForm12; // the progressive matrices
class TForm13; // completion: the closing questions and the results file; the last

template <class Window>
struct WindowAfter;
template <> struct WindowAfter<TForm1> { using type = TForm2; };
template <> struct WindowAfter<TForm2> { using type = TForm4; };
template <> struct WindowAfter<TForm4> { using type = TForm11; };
template <> struct WindowAfter<TForm11> { using type = TForm5; };
template <> struct WindowAfter<TForm5> { using type = TForm6; };
template <> struct WindowAfter<TForm6> { using type = TForm10; };
template <> struct WindowAfter<TForm10> { using type = TForm7; };
template <> struct WindowAfter<TForm7> { using type = TForm8; };
template <> struct WindowAfter<TForm8> { using type = TForm9; };
template <> struct WindowAfter<TForm9> { using type = TForm12; };
template <> struct WindowAfter<TForm12> { using type = TForm13; };

template <class Window>
using NextAfter = typename WindowAfter<Window>::type;
