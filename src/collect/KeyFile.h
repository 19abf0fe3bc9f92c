#pragma once

#include "collect/CsvText.h"

#include <QByteArray>
#include <QString>

// How a key file is written: as this program writes it, or as a spreadsheet
// saved it again (Excel under Russian settings: Windows-1251 and semicolons).
struct KeyForm
{
    enum Encoding
    {
        Utf8,
        Utf16LE,
        Utf16BE,
        Windows1251,
    };
    Encoding encoding = Utf8;
    bool byteOrderMark = false;
    CsvStyle style = CsvStyle::Plain; // semicolons for Excel, else commas
};

// The form of a new key, in the style of the other outputs.
KeyForm newKeyForm(CsvStyle style);

// "Windows-1251 with semicolons", "UTF-8 with a byte-order mark and commas".
QString formName(const KeyForm &form);

struct KeyText
{
    KeyForm form;
    QString text;
};

// A key's bytes decoded: UTF-8 or UTF-16 after a byte-order mark, UTF-8
// without one when the bytes are valid UTF-8, else Windows-1251; semicolons
// when the first line holds one.
KeyText decodeKey(const QByteArray &bytes);

// The text in the form; a character that Windows-1251 cannot encode
// becomes '?', so the caller reads the bytes back before writing them.
QByteArray encodeKey(const QString &text, const KeyForm &form);
