#include "collect/DataPackage.h"

#include "engine/ItemColumns.h"
#include "engine/ResultLines.h"
#include "engine/Version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

QString describedWithUnit(const QString &english, const QString &unit)
{
    return unit.isEmpty() ? english : english + u" (unit: "_s + unit + u')';
}

QJsonArray enumOf(const QStringList &codes)
{
    QJsonArray values;
    for (const QString &code : codes)
        if (!code.isEmpty()) // an empty code is a missing value
            values.append(code);
    return values;
}

QJsonObject lineField(const TableColumn &column)
{
    QJsonObject field{{u"name"_s, column.name}, {u"type"_s, u"string"_s}};
    if (column.source == TableColumn::File) {
        field[u"description"_s] = u"Path of the results file"_s;
        return field;
    }
    if (column.source == TableColumn::Subject) {
        field[u"description"_s] = u"Subject code: S0001, S0002, … by first appearance"_s;
        return field;
    }
    if (column.source == TableColumn::Run) {
        field[u"type"_s] = u"integer"_s;
        field[u"description"_s] = u"Number of the subject's run: 1, 2, … by the test date and start time in the file"_s;
        field[u"constraints"_s] = QJsonObject{{u"required"_s, true}, {u"minimum"_s, 1}};
        return field;
    }
    const ResultLine &line = resultLines()[column.line - 1];
    const FieldRule &rule = line.rule;
    field[u"title"_s] = line.meaning.russian;
    field[u"description"_s] = describedWithUnit(line.meaning.english, line.meaning.unit) + u"; results file line "_s
        + QString::number(column.line);
    QJsonObject constraints;
    const bool numeric = rule.kind == FieldKind::Integer || rule.kind == FieldKind::Decimal;
    if (numeric && rule.codes.isEmpty()) {
        field[u"type"_s] = rule.kind == FieldKind::Integer ? u"integer"_s : u"number"_s;
        constraints[u"minimum"_s] = rule.minimum;
        if (rule.maximum < std::numeric_limits<int>::max())
            constraints[u"maximum"_s] = rule.maximum;
    } else if (rule.kind == FieldKind::Code) {
        QStringList codes;
        for (const CodeLabel &code : rule.codes)
            codes << code.code;
        constraints[u"enum"_s] = enumOf(codes);
    }
    if (!constraints.isEmpty())
        field[u"constraints"_s] = constraints;
    return field;
}

QJsonObject itemField(const ItemColumnMeaning &column)
{
    static const QHash<QString, QString> types{
        {u"text"_s, u"string"_s}, {u"code"_s, u"string"_s}, {u"integer"_s, u"integer"_s}, {u"real"_s, u"number"_s}};
    QJsonObject field{{u"name"_s, column.name},
                      {u"type"_s, types.value(column.type)},
                      {u"title"_s, column.russian},
                      {u"description"_s, describedWithUnit(column.english, column.unit)}};
    QJsonObject constraints;
    if (column.name == u"session")
        field[u"format"_s] = u"uuid"_s;
    if (column.minimum)
        constraints[u"minimum"_s] = *column.minimum;
    if (!column.codes.isEmpty()) {
        QStringList codes;
        for (const QStringList &code : column.codes)
            codes << code[0];
        constraints[u"enum"_s] = enumOf(codes);
    }
    if (column.name == u"subject" || column.name == u"trial_index" || column.name == u"kind" || column.name == u"task"
        || column.name == u"trial")
        constraints[u"required"_s] = true;
    if (!constraints.isEmpty())
        field[u"constraints"_s] = constraints;
    return field;
}

QJsonObject tableResource(const QString &name, const QString &path, const QString &description,
                          const QJsonArray &fields, const QJsonArray &primaryKey)
{
    QJsonObject schema{{u"fields"_s, fields}, {u"missingValues"_s, QJsonArray{u""_s, u"n/a"_s}}};
    if (!primaryKey.isEmpty())
        schema[u"primaryKey"_s] = primaryKey;
    return {{u"name"_s, name},
            {u"path"_s, path},
            {u"profile"_s, u"tabular-data-resource"_s},
            {u"description"_s, description},
            {u"format"_s, u"csv"_s},
            {u"mediatype"_s, u"text/csv"_s},
            {u"encoding"_s, u"utf-8"_s},
            {u"dialect"_s,
             QJsonObject{{u"delimiter"_s, u","_s}, {u"lineTerminator"_s, u"\r\n"_s}, {u"header"_s, true}}},
            {u"schema"_s, schema}};
}

QJsonObject codebookResource()
{
    QJsonArray fields;
    for (const char *name : {"column", "line", "type", "unit", "minimum", "maximum", "description_ru",
                             "description_en", "codes_ru", "codes_en"})
        fields.append(QJsonObject{{u"name"_s, QLatin1String(name)}, {u"type"_s, u"string"_s}});
    return tableResource(u"codebook"_s, QLatin1String(codebookFile),
                         u"For each column of both tables: its line, type, unit, range, descriptions and codes"_s,
                         fields, {});
}

} // namespace

QByteArray dataPackageDescriptor(const QList<TableColumn> &columns, bool withItems)
{
    QJsonArray resultFields;
    for (const TableColumn &column : columns)
        resultFields.append(lineField(column));
    QJsonArray resources{tableResource(u"results"_s, QLatin1String(resultsTableFile),
                                       u"One row per results file: the 69 lines of the battery"_s, resultFields,
                                       QJsonArray{u"subject"_s, u"run"_s})};
    if (withItems) {
        QJsonArray itemFields;
        for (const ItemColumnMeaning &column : itemColumnMeanings())
            itemFields.append(itemField(column));
        resources.append(tableResource(u"items"_s, QLatin1String(itemTableFile),
                                       u"One row per item, action and event of a run, every run's item file in turn"_s, itemFields,
                                       QJsonArray{u"subject"_s, u"run"_s, u"trial_index"_s}));
    }
    resources.append(codebookResource());
    const QJsonObject descriptor{
        {u"profile"_s, u"tabular-data-package"_s},
        {u"name"_s, u"cogbattery-results"_s},
        {u"title"_s, u"Results of the test battery"_s},
        {u"description"_s, u"Collected by cogbattery-collect "_s + QLatin1String(cogbatteryVersion)},
        {u"resources"_s, resources},
    };
    return QJsonDocument(descriptor).toJson(QJsonDocument::Indented);
}
