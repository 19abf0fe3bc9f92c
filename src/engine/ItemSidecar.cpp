#include "engine/ItemSidecar.h"

#include "engine/DateTime.h"
#include "engine/ItemColumns.h"
#include "engine/ItemIds.h"
#include "engine/ResultLines.h"
#include "engine/ResultsFile.h"
#include "engine/Version.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace {

QJsonObject columnsObject()
{
    QJsonObject columns;
    for (const ItemColumnMeaning &column : itemFileColumns()) {
        QJsonObject described{{u"Description"_s, column.english}, {u"Description_ru"_s, column.russian}};
        if (!column.unit.isEmpty())
            described[u"Units"_s] = u"s"_s;
        if (!column.codes.isEmpty()) {
            QJsonObject levels;
            for (const QStringList &code : column.codes)
                levels[code[0]] = code[2];
            described[u"Levels"_s] = levels;
        }
        columns[column.name] = described;
    }
    return columns;
}

// A handedness test is coded as its results line is; a question of the
// questionnaire as the value its choice adds to the hand score.
QJsonObject itemsObject()
{
    static const char *const testFields[] = {"LatThumbCode", "LatArmCode", "LatClapCode", "LatWinkCode",
                                             "LatSightCode"};
    QJsonObject items;
    for (int test = 0; test < int(std::size(testFields)); ++test) {
        const auto &lines = resultLines();
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [&](const ResultLine &l) { return l.field == QLatin1String(testFields[test]); });
        QJsonObject levels;
        for (const CodeLabel &code : line->rule.codes)
            levels[code.code] = code.english;
        items[handednessItems()[test]] = QJsonObject{{u"Description"_s, line->meaning.english}, {u"Levels"_s, levels}};
    }
    const QJsonObject scale{{u"2"_s, u"always the right hand"_s},
                            {u"1"_s, u"more often the right hand, sometimes the left"_s},
                            {u"0"_s, u"either hand"_s},
                            {u"-1"_s, u"more often the left hand, sometimes the right"_s},
                            {u"-2"_s, u"always the left hand"_s}};
    for (qsizetype question = 5; question < handednessItems().size(); ++question)
        items[handednessItems()[question]] = QJsonObject{
            {u"Description"_s, u"Hand preference question %1: the value the choice adds to the hand score"_s.arg(question - 4)},
            {u"Levels"_s, scale}};
    return items;
}

} // namespace

QByteArray itemSidecar(const QString &session, const RunRecord &record, const QString &resultsFileName,
                       const QByteArray &resultsBytes)
{
    const QJsonObject sidecar{
        {u"session"_s, session},
        {u"battery_version"_s, QString::fromLatin1(cogbatteryVersion)},
        {u"started"_s, fromDateTime(record.InfoStartMoment).toString(Qt::ISODate)},
        {u"results_file"_s, resultsFileName},
        {u"results_sha256"_s,
         QString::fromLatin1(QCryptographicHash::hash(resultsBytes, QCryptographicHash::Sha256).toHex())},
        {u"columns"_s, columnsObject()},
        {u"items"_s, itemsObject()}};
    return QJsonDocument(sidecar).toJson(QJsonDocument::Indented);
}

ItemSidecarTies readItemSidecar(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    ItemSidecarTies ties;
    if (error.error != QJsonParseError::NoError) {
        ties.problem = u"is not JSON (%1 at byte %2)"_s.arg(error.errorString()).arg(error.offset);
        return ties;
    }
    if (!document.isObject()) {
        ties.problem = u"is not a JSON object"_s;
        return ties;
    }
    const QJsonObject sidecar = document.object();
    QStringList missing;
    const auto text = [&](const QString &key) {
        const QJsonValue value = sidecar.value(key);
        if (!value.isString() || value.toString().isEmpty())
            missing << key;
        return value.toString();
    };
    ties.session = text(u"session"_s);
    ties.batteryVersion = text(u"battery_version"_s);
    ties.started = text(u"started"_s);
    ties.resultsSha256 = text(u"results_sha256"_s);
    static const QRegularExpression sha256(u"^[0-9a-f]{64}$"_s);
    if (!missing.isEmpty())
        ties.problem = u"has no %1"_s.arg(missing.join(u", "_s));
    else if (!sha256.match(ties.resultsSha256).hasMatch())
        ties.problem = u"has a results_sha256 that is no SHA-256: \"%1\""_s.arg(ties.resultsSha256);
    else if (!QDateTime::fromString(ties.started, Qt::ISODate).isValid())
        ties.problem = u"has a start that is no ISO 8601 date and time: \"%1\""_s.arg(ties.started);
    return ties;
}
