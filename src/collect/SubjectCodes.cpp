#include "collect/SubjectCodes.h"

#include <QFile>
#include <QRegularExpression>

namespace {

const QStringList keyHeader = {QStringLiteral("subject"), QStringLiteral("InfoSurname"), QStringLiteral("InfoName"),
                               QStringLiteral("FinalContact"), QStringLiteral("file")};

} // namespace

QString subjectIdentity(const QString &surname, const QString &name)
{
    return (surname.trimmed() + u'\n' + name.trimmed()).toCaseFolded().replace(u'ё', u'е');
}

std::optional<QString> SubjectCodes::readKey(const QString &keyFile)
{
    QFile file(keyFile);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QString text = QString::fromUtf8(file.readAll());
    // Written with commas, or semicolons for a spreadsheet.
    const QChar separator = text.section(u'\n', 0, 0).contains(u';') ? u';' : u',';
    const auto records = readCsv(text, separator);
    if (!records || records->isEmpty() || records->first() != keyHeader)
        return QStringLiteral("not a key written by this program (its first line is not %1)").arg(keyHeader.join(u','));

    static const QRegularExpression codePattern(QStringLiteral("^S([0-9]+)$"));
    for (const QStringList &row : records->mid(1)) {
        const auto match = codePattern.match(row.value(0));
        if (row.size() != keyHeader.size() || !match.hasMatch())
            return QStringLiteral("a row is not code, surname, name, contact and file: %1").arg(row.join(u','));
        lastNumber = std::max(lastNumber, match.captured(1).toInt());
        codeOf.insert(subjectIdentity(row[1], row[2]), row[0]);
        filesInKey.insert(row[4]);
        rows << row;
    }
    return std::nullopt;
}

QString SubjectCodes::code(const QString &file, const QString &surname, const QString &name, const QString &contact)
{
    const QString identity = subjectIdentity(surname, name);
    auto known = codeOf.constFind(identity);
    if (known == codeOf.constEnd())
        known = codeOf.insert(identity, QStringLiteral("S%1").arg(++lastNumber, 4, 10, QChar(u'0')));
    if (!filesInKey.contains(file)) {
        filesInKey.insert(file);
        rows.append({*known, surname, name, contact, file});
    }
    return *known;
}

QByteArray SubjectCodes::key(CsvStyle style) const
{
    CsvWriter csv(style);
    csv.record(keyHeader);
    for (const QStringList &row : rows)
        csv.record(row);
    return csv.bytes();
}
