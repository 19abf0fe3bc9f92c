#include "collect/Codebook.h"

#include "engine/ResultLines.h"

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

QString typeName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
        return u"text"_s;
    case FieldKind::Code:
        return u"code"_s;
    case FieldKind::Integer:
        return u"integer"_s;
    case FieldKind::Decimal:
        return u"real"_s;
    case FieldKind::TypedDate:
    case FieldKind::RegionalDate:
        return u"date"_s;
    case FieldKind::RegionalTime:
        return u"time"_s;
    case FieldKind::Duration:
        return u"duration"_s;
    }
    return {};
}

// "0 = женский; 1 = мужской"; an empty code is written as nothing, " = нет
// ответа", so that splitting at "; " and " = " gives the empty cell's label.
QString codeLabels(const QList<CodeLabel> &codes, QString CodeLabel::*label)
{
    QStringList pairs;
    for (const CodeLabel &code : codes)
        pairs << code.code + u" = "_s + code.*label;
    return pairs.join(u"; "_s);
}

QStringList lineRow(int line)
{
    const ResultLine &about = resultLines()[line - 1];
    const FieldRule &rule = about.rule;
    const bool ranged = rule.kind == FieldKind::Integer || rule.kind == FieldKind::Decimal;
    const bool bounded = rule.maximum < std::numeric_limits<int>::max();
    return {about.field,
            QString::number(line),
            typeName(rule.kind),
            about.meaning.unit,
            ranged ? QString::number(rule.minimum) : QString(),
            ranged && bounded ? QString::number(rule.maximum) : QString(),
            about.meaning.russian,
            about.meaning.english,
            codeLabels(rule.codes, &CodeLabel::russian),
            codeLabels(rule.codes, &CodeLabel::english)};
}

QStringList ownRow(const TableColumn &column)
{
    switch (column.source) {
    case TableColumn::File:
        return {column.name, {}, u"text"_s, {}, {}, {},
                u"Путь к файлу результатов"_s, u"Path of the results file"_s, {}, {}};
    case TableColumn::Run:
        return {column.name, {}, u"integer"_s, {}, u"1"_s, {},
                u"Номер прохождения испытуемого: 1, 2, … по дате и времени начала в файле, иначе по номеру файла"_s,
                u"Run of the subject: 1, 2, … by the test date and start time in the file, else by the file's number"_s, {}, {}};
    case TableColumn::Subject:
    case TableColumn::Line: // described by lineRow()
        break;
    }
    return {column.name, {}, u"text"_s, {}, {}, {},
            u"Код испытуемого: S0001, S0002, … по первому появлению; одни фамилия, имя и дата рождения — один код"_s,
            u"Subject code: S0001, S0002, … by first appearance; one surname, name and birth date, one code"_s, {}, {}};
}

} // namespace

QByteArray codebook(const QList<TableColumn> &columns, CsvStyle style, const QList<QStringList> &moreRows)
{
    CsvWriter csv(style);
    csv.record({u"column"_s, u"line"_s, u"type"_s, u"unit"_s, u"minimum"_s, u"maximum"_s, u"description_ru"_s,
                u"description_en"_s, u"codes_ru"_s, u"codes_en"_s});
    for (const TableColumn &column : columns)
        csv.record(column.source == TableColumn::Line ? lineRow(column.line) : ownRow(column));
    for (const QStringList &row : moreRows)
        csv.record(row);
    return csv.bytes();
}
