#pragma once

class ItemLog;
class QObject;

// Notes in the item log each time the program loses the focus to another
// application and gets it back (a subject at home switching away), for as
// long as `context` lives.
void logApplicationFocus(ItemLog &log, QObject *context);
