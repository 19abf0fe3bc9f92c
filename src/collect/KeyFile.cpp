#include "collect/KeyFile.h"

#include "engine/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

KeyForm newKeyForm(CsvStyle style)
{
    return {KeyForm::Utf8, style == CsvStyle::Excel, style};
}

QString formName(const KeyForm &form)
{
    static const QString encodings[] = {QStringLiteral("UTF-8"), QStringLiteral("UTF-16LE"),
                                        QStringLiteral("UTF-16BE"), QStringLiteral("Windows-1251")};
    const bool markShown = form.byteOrderMark && form.encoding == KeyForm::Utf8; // UTF-16 always has one
    return encodings[form.encoding] + (markShown ? QStringLiteral(" with a byte-order mark and") : QStringLiteral(" with"))
           + (form.style == CsvStyle::Excel ? QStringLiteral(" semicolons") : QStringLiteral(" commas"));
}

namespace {

QStringConverter::Encoding unicodeOf(KeyForm::Encoding encoding)
{
    switch (encoding) {
    case KeyForm::Utf16LE:
        return QStringConverter::Utf16LE;
    case KeyForm::Utf16BE:
        return QStringConverter::Utf16BE;
    default:
        return QStringConverter::Utf8;
    }
}

} // namespace

KeyText decodeKey(const QByteArray &bytes)
{
    KeyText key;
    const auto marked = QStringConverter::encodingForData(bytes);
    if (marked == QStringConverter::Utf16LE || marked == QStringConverter::Utf16BE || marked == QStringConverter::Utf8) {
        key.form.encoding = *marked == QStringConverter::Utf8    ? KeyForm::Utf8
                            : *marked == QStringConverter::Utf16LE ? KeyForm::Utf16LE
                                                                   : KeyForm::Utf16BE;
        key.form.byteOrderMark = true;
        QStringDecoder decoder(*marked, QStringConverter::Flag::Stateless); // drops the byte-order mark
        key.text = decoder(bytes);
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        key.text = utf8(bytes);
        if (utf8.hasError()) {
            key.form.encoding = KeyForm::Windows1251;
            key.text = fromCp1251(bytes);
        }
    }
    key.form.style = key.text.section(u'\n', 0, 0).contains(u';') ? CsvStyle::Excel : CsvStyle::Plain;
    return key;
}

QByteArray encodeKey(const QString &text, const KeyForm &form)
{
    if (form.encoding == KeyForm::Windows1251)
        return toCp1251(text);
    QStringEncoder encoder(unicodeOf(form.encoding),
                           form.byteOrderMark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder(text);
}
