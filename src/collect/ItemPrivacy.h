#pragma once

#include "collect/CsvTable.h"
#include "collect/ItemTable.h"

// Takes out of the item rows what the privacy leaves out of the results
// table. Pseudonymised and de-identified: the text of each message shown,
// which may name the subject's results file. De-identified also: the lengths
// of the subject's name and surname written on the mathematics sheet
// ("И=2, Ф=3") and, for the problems whose key follows from them, the key
// and the answer (which a right answer gives away); `correct` stays.
void leaveOutOfItems(ItemCollection &items, Privacy privacy);
