#pragma once

#include "windows/ResultsUpload.h"

class QWidget;

// Sends what `upload` has left to send while a progress bar shows, with
// "Отменить" to stop; returns how it went once it is over.
ResultsUpload::Outcome sendShowingProgress(ResultsUpload &upload, QWidget *window);
