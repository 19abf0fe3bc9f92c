#pragma once

#include <QByteArray>
#include <QStringList>

// The lines of one results file as received, decoded to text.
struct ResultsText
{
    // The whole text; each line refers to its characters without a copy
    // (QString::fromRawData), so a line kept longer than the text is
    // detached first.
    QString text;
    QStringList lines;
    // The encoding an editor saved the file in again, which was used to read
    // it; empty for the battery's own Windows-1251.
    QString resavedAs;
};

// Windows-1251 unless the bytes carry a byte-order mark, are valid UTF-8
// with Cyrillic letters, or read as Russian text only in KOI8-R or CP866.
// Lines end in CR LF, LF alone, or CR CR LF after a text-mode transfer.
ResultsText decodeResultsText(const QByteArray &bytes);
