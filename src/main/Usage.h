#pragma once

#include <QString>

// Asked for the usage text (--help or -h): answered, like --version, before
// any window system is touched, so that it works without a display.
bool asksForHelp(int argc, char *argv[]);

// The Russian usage text.
QString usageText();
