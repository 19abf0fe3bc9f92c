#pragma once

#include <QByteArray>
#include <QString>

// The Cyrillic single-byte encodings a results file may arrive in: the
// battery's Windows-1251, and KOI8-R and CP866, which some editors and older
// systems save Russian text in.
enum class CodePage
{
    Windows1251,
    Koi8R,
    Cp866,
};

QString codePageName(CodePage page);

// The bytes read in the code page; a byte that is no letter of KOI8-R or
// CP866 (nor "№" in CP866) becomes U+FFFD.
QString decodeCodePage(const QByteArray &bytes, CodePage page);

// The code page in which the bytes read as the most small Cyrillic letters,
// as Russian text is mostly written in small letters; Windows-1251 unless
// another reads as more.
CodePage likeliestCodePage(const QByteArray &bytes);
