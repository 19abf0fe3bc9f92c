#pragma once

#include <QByteArray>
#include <QString>
#include <utility>

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

// The bytes read in the code page in which they make the most small Cyrillic
// letters, as Russian text is mostly written in small letters, and that code
// page: Windows-1251 unless another reads as more. The battery's own
// Windows-1251 is read while the letters are counted, in one pass.
std::pair<QString, CodePage> decodeLikeliestCodePage(const QByteArray &bytes);
