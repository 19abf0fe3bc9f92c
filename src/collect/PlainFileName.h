#pragma once

#include <QStringView>
#include <optional>

// The stem of a name of the plain form stem_N.txt, with no copy number, a
// lower-case ".txt" and a stem free of control and line-separating
// characters and of surrogates; nothing for any other name. A name of that form is a results
// file's name for certain, so the general pattern need not be tried.
std::optional<QStringView> plainResultsFileStem(QStringView name);
