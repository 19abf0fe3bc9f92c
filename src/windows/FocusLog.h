#pragma once

// Notes in the item log each time the program loses the focus to another
// application and gets it back (a subject at home switching away). Once for
// the process; later calls do nothing.
void logApplicationFocus();
