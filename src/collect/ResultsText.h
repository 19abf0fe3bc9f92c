#pragma once

#include <QByteArray>
#include <QStringConverter>
#include <QStringList>
#include <optional>

// The lines of one results file as received, decoded to text.
struct ResultsText
{
    QStringList lines;
    // Set when the file is not in Windows-1251: an editor saved it again in
    // another encoding, which was used to read it.
    std::optional<QStringConverter::Encoding> resavedAs;
};

// Windows-1251 unless the bytes carry a byte-order mark or are valid UTF-8
// with Cyrillic letters. Lines end in CR LF or LF alone.
ResultsText decodeResultsText(const QByteArray &bytes);
