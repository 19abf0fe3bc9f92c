#include "engine/Journal.h"

#include "engine/JsonWriter.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtNumeric>
#include <type_traits>
#include <utility>
#include <variant>

// Reads and writes the item log's own state; ItemLog names it a friend.
struct ItemLogCodec
{
    static void write(JsonWriter &json, const ItemLog &log);
    static std::optional<ItemLog> read(const QJsonObject &object);
    static void shift(ItemLog &log, qint64 by);
};

namespace {

const QByteArray formatName = "cogbattery-journal";
constexpr int formatVersion = 1;

// Every field of the run record, by its name. A field added to the record
// must be added here, or a resumed run would lose it: the size check below
// stops the build until it is.
using Member = std::variant<QString RunRecord::*, int RunRecord::*, qint64 RunRecord::*, double RunRecord::*>;
struct RecordField
{
    const char *name;
    Member member;
};

#define FIELD(name) RecordField{#name, &RunRecord::name}
constexpr RecordField recordFields[] = {
    FIELD(InfoSurname), FIELD(InfoName), FIELD(InfoSex), FIELD(InfoBirthDate), FIELD(InfoTestDate),
    FIELD(InfoStartTime), FIELD(InfoSchool), FIELD(InfoGrade), FIELD(InfoHandedness), FIELD(InfoNervousDisorder),
    FIELD(InfoConcussion), FIELD(InfoHeadInjury), FIELD(InfoHasSiblings), FIELD(InfoHearingProblem),
    FIELD(InfoAgeDays), FIELD(InfoAgeYears), FIELD(InfoStartMoment), FIELD(InfoStartMonotonic), FIELD(InfoBirthYear), FIELD(InfoBirthMonth),
    FIELD(InfoNameLength), FIELD(InfoSurnameLength),
    FIELD(SibBirthOrder), FIELD(SibWithYearCount), FIELD(SibSameMonthCount), FIELD(SibWithoutYearCount),
    FIELD(SibWindowPassed),
    FIELD(LatThumbCode), FIELD(LatArmCode), FIELD(LatClapCode), FIELD(LatWinkCode), FIELD(LatSightCode),
    FIELD(LatHandScore), FIELD(LatHandClass),
    FIELD(ExprAnswer), FIELD(ExprFormulaUse),
    FIELD(DichTotalCoefText), FIELD(DichSeriesAgreement), FIELD(DichEarAdvantage), FIELD(DichS1EarA),
    FIELD(DichS1EarB), FIELD(DichS2EarA), FIELD(DichS2EarB), FIELD(DichS1Coef), FIELD(DichS2Coef),
    FIELD(MathCorrectTotal), FIELD(MathCorrectExpressions), FIELD(MathCorrectProblems),
    FIELD(CalcUseCount), FIELD(CalcLasmResult), FIELD(CalcVadlResult), FIELD(CalcParmResult),
    FIELD(CalcCorrectCount),
    FIELD(RavenStartTime), FIELD(RavenStartMonotonic), FIELD(RavenDurationText), FIELD(RavenTotal), FIELD(RavenBlock1), FIELD(RavenBlock2),
    FIELD(RavenBlock3), FIELD(RavenBlock4), FIELD(RavenBlock5),
    FIELD(FinalFinishTime), FIELD(FinalDuration), FIELD(FinalMusicalInstrument), FIELD(FinalCareer),
    FIELD(FinalContact), FIELD(FinalAlgebraMark), FIELD(FinalGeometryMark),
};
#undef FIELD

// How many initialisers the aggregate T takes, counting each element of an
// array member: one more field in T makes one more.
struct AnyValue
{
    template <class T>
    operator T() const;
};
template <class T, std::size_t... I>
constexpr bool initialisableWith(std::index_sequence<I...>)
{
    return requires { T{(void(I), AnyValue{})...}; };
}
template <class T, std::size_t count = 0>
constexpr std::size_t initialiserCount()
{
    if constexpr (initialisableWith<T>(std::make_index_sequence<count + 1>()))
        return initialiserCount<T, count + 1>();
    else
        return count;
}
static_assert(initialiserCount<RunRecord>() == std::size(recordFields) + std::extent_v<decltype(RunRecord::SibDescription)>,
              "a run record field is missing from the journal");

// Reads the fields of one JSON object, each of the type it must have; the
// first field that is missing or of another type makes the whole read fail.
class FieldReader
{
public:
    explicit FieldReader(const QJsonObject &object) : object(object) {}

    QString problem() const { return missing.isEmpty() ? QString() : QStringLiteral("нет поля %1").arg(missing); }
    bool ok() const { return missing.isEmpty(); }

    QJsonValue value(const QString &key, QJsonValue::Type type)
    {
        const QJsonValue found = object.value(key);
        if (found.type() != type && missing.isEmpty())
            missing = key;
        return found;
    }
    QString text(const QString &key) { return value(key, QJsonValue::String).toString(); }
    qint64 integer(const QString &key)
    {
        const double number = value(key, QJsonValue::Double).toDouble();
        if (number != double(qint64(number)) && missing.isEmpty())
            missing = key;
        return qint64(number);
    }
    // Null stands for a value no JSON number can hold.
    double real(const QString &key)
    {
        if (object.value(key).isNull())
            return qQNaN();
        return value(key, QJsonValue::Double).toDouble();
    }
    bool flag(const QString &key) { return value(key, QJsonValue::Bool).toBool(); }
    QJsonArray array(const QString &key) { return value(key, QJsonValue::Array).toArray(); }
    QJsonObject child(const QString &key) { return value(key, QJsonValue::Object).toObject(); }
    std::optional<qint64> optionalInteger(const QString &key)
    {
        if (object.value(key).isNull())
            return std::nullopt;
        return integer(key);
    }
    QStringList texts(const QString &key)
    {
        QStringList list;
        for (const QJsonValue &item : array(key)) {
            if (!item.isString() && missing.isEmpty())
                missing = key;
            list << item.toString();
        }
        return list;
    }
    // Reports a value that is there but cannot be right.
    void reject(const QString &key)
    {
        if (missing.isEmpty())
            missing = key;
    }
    // Takes over what a nested reader found wrong.
    void include(const FieldReader &nested, const QString &where)
    {
        if (missing.isEmpty() && !nested.ok())
            missing = where + u'.' + nested.missing;
    }

private:
    QJsonObject object;
    QString missing;
};

void writeRecord(JsonWriter &json, const RunRecord &record)
{
    json.beginObject();
    for (const RecordField &field : recordFields)
        std::visit([&](auto member) { json.key(field.name).value(record.*member); }, field.member);
    json.key("SibDescription")
        .value(QStringList(std::begin(record.SibDescription), std::end(record.SibDescription)))
        .endObject();
}

RunRecord readRecord(FieldReader &fields)
{
    RunRecord record;
    for (const RecordField &field : recordFields) {
        const QString key = QLatin1String(field.name);
        std::visit(
            [&](auto member) {
                using Value = std::remove_reference_t<decltype(record.*member)>;
                if constexpr (std::is_same_v<Value, QString>)
                    record.*member = fields.text(key);
                else if constexpr (std::is_same_v<Value, int>)
                    record.*member = int(fields.integer(key));
                else if constexpr (std::is_same_v<Value, qint64>)
                    record.*member = fields.integer(key);
                else
                    record.*member = fields.real(key);
            },
            field.member);
    }
    const QStringList siblings = fields.texts(QStringLiteral("SibDescription"));
    if (siblings.size() != qsizetype(std::size(record.SibDescription)))
        fields.reject(QStringLiteral("SibDescription"));
    else
        std::copy(siblings.begin(), siblings.end(), std::begin(record.SibDescription));
    return record;
}

void writeProgress(JsonWriter &json, const WindowProgress &progress)
{
    json.beginObject().key("window").value(progress.window).key("answers").value(progress.answers);
    json.key("spent").beginArray();
    for (int recording : progress.spent)
        json.value(recording);
    json.endArray().key("onScreenMilliseconds").value(progress.onScreenMilliseconds);
    json.key("warningShown").value(int(progress.warningShown)).endObject();
}

WindowProgress readProgress(FieldReader &fields)
{
    WindowProgress progress;
    progress.window = fields.text(QStringLiteral("window"));
    progress.answers = fields.texts(QStringLiteral("answers"));
    for (const QJsonValue &recording : fields.array(QStringLiteral("spent"))) {
        if (!recording.isDouble() || recording.toInt() < 1)
            fields.reject(QStringLiteral("spent"));
        progress.spent << recording.toInt();
    }
    progress.onScreenMilliseconds = fields.integer(QStringLiteral("onScreenMilliseconds"));
    progress.warningShown = fields.integer(QStringLiteral("warningShown")) != 0;
    return progress;
}

QByteArray journalText(const Journal &journal)
{
    JsonWriter json;
    json.beginObject()
        .key("batteryVersion").value(journal.batteryVersion)
        .key("written").value(journal.written.toUTC().toString(Qt::ISODateWithMs))
        .key("writtenMonotonic").value(journal.writtenMonotonic)
        .key("spentMilliseconds").value(journal.spentMilliseconds)
        .key("tasksDone").value(journal.tasksDone)
        .key("record");
    writeRecord(json, journal.record);
    json.key("progress");
    writeProgress(json, journal.progress);
    json.key("interruptions").beginArray();
    for (const Interruption &interruption : journal.interruptions)
        json.beginObject().key("gapSeconds").value(interruption.gapSeconds).key("window").value(interruption.window)
            .endObject();
    json.endArray().key("items");
    if (journal.items)
        ItemLogCodec::write(json, *journal.items);
    else
        json.null();
    json.endObject();
    return json.bytes();
}

ReadJournal readJournalObject(const QJsonObject &object)
{
    FieldReader fields(object);
    Journal journal;
    journal.batteryVersion = fields.text(QStringLiteral("batteryVersion"));
    journal.written = QDateTime::fromString(fields.text(QStringLiteral("written")), Qt::ISODateWithMs);
    if (!journal.written.isValid())
        fields.reject(QStringLiteral("written"));
    journal.writtenMonotonic = fields.integer(QStringLiteral("writtenMonotonic"));
    journal.spentMilliseconds = fields.integer(QStringLiteral("spentMilliseconds"));
    journal.tasksDone = int(fields.integer(QStringLiteral("tasksDone")));

    FieldReader record(fields.child(QStringLiteral("record")));
    journal.record = readRecord(record);
    fields.include(record, QStringLiteral("record"));

    FieldReader progress(fields.child(QStringLiteral("progress")));
    journal.progress = readProgress(progress);
    fields.include(progress, QStringLiteral("progress"));

    for (const QJsonValue &value : fields.array(QStringLiteral("interruptions"))) {
        FieldReader interruption(value.toObject());
        journal.interruptions.append({interruption.integer(QStringLiteral("gapSeconds")),
                                      interruption.text(QStringLiteral("window"))});
        fields.include(interruption, QStringLiteral("interruptions"));
    }

    const QJsonValue items = object.value(QStringLiteral("items"));
    if (items.isObject()) {
        journal.items = ItemLogCodec::read(items.toObject());
        if (!journal.items)
            fields.reject(QStringLiteral("items"));
    } else if (!items.isNull()) {
        fields.reject(QStringLiteral("items"));
    }

    if (!fields.ok())
        return {std::nullopt, fields.problem()};
    return {std::move(journal), {}};
}

QByteArray digestOf(const QByteArray &body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

} // namespace

void ItemLogCodec::write(JsonWriter &json, const ItemLog &log)
{
    const auto showing = [&](const WindowShowing &shown) {
        json.key("at").value(shown.at).key("sequence").value(shown.sequence);
    };
    json.beginObject()
        .key("session").value(log.sessionId)
        .key("sessionStart").value(log.sessionStart)
        .key("currentTask").value(log.currentTask)
        .key("sequence").value(log.sequence)
        .key("currentShowing").beginObject();
    showing(log.currentShowing);
    json.endObject().key("firstShown").beginArray();
    for (auto shown = log.firstShown.cbegin(); shown != log.firstShown.cend(); ++shown) {
        json.beginObject().key("task").value(shown.key());
        showing(shown.value());
        json.endObject();
    }
    json.endArray().key("items").beginArray();
    for (auto entry = log.items.cbegin(); entry != log.items.cend(); ++entry) {
        const LoggedItem &item = entry.value();
        json.beginObject()
            .key("id").value(entry.key())
            .key("task").value(item.task)
            .key("shownAt").value(item.shownAt)
            .key("sequence").value(item.sequence)
            .key("presentedAt").value(item.presentedAt)
            .key("stimulus").value(item.stimulus)
            .key("text").value(item.text)
            .key("value").value(item.value)
            .key("changes").value(item.changes)
            .key("keystrokes").value(item.keystrokes ? std::optional<qint64>(*item.keystrokes) : std::nullopt)
            .key("lastEditAt").value(item.lastEditAt)
            .key("lastChangeAt").value(item.lastChangeAt)
            .key("locked").value(int(item.locked))
            .endObject();
    }
    json.endArray().key("actions").beginArray();
    for (const LoggedAction &action : log.actionList)
        json.beginObject()
            .key("task").value(action.task)
            .key("item").value(action.item)
            .key("response").value(action.response)
            .key("outcome").value(action.outcome)
            .key("shownAt").value(action.shownAt)
            .key("at").value(action.at)
            .key("sequence").value(action.sequence)
            .endObject();
    json.endArray().key("events").beginArray();
    for (const LoggedEvent &event : log.eventList)
        json.beginObject()
            .key("task").value(event.task)
            .key("name").value(event.name)
            .key("stimulus").value(event.stimulus)
            .key("response").value(event.response)
            .key("at").value(event.at)
            .key("sequence").value(event.sequence)
            .endObject();
    json.endArray().endObject();
}

std::optional<ItemLog> ItemLogCodec::read(const QJsonObject &object)
{
    FieldReader fields(object);
    ItemLog log;
    const auto showing = [](FieldReader &shown) {
        return WindowShowing{shown.integer(QStringLiteral("at")), shown.integer(QStringLiteral("sequence"))};
    };
    log.sessionId = fields.text(QStringLiteral("session"));
    log.sessionStart = fields.optionalInteger(QStringLiteral("sessionStart"));
    log.currentTask = fields.text(QStringLiteral("currentTask"));
    log.sequence = fields.integer(QStringLiteral("sequence"));
    FieldReader current(fields.child(QStringLiteral("currentShowing")));
    log.currentShowing = showing(current);
    fields.include(current, QStringLiteral("currentShowing"));
    for (const QJsonValue &value : fields.array(QStringLiteral("firstShown"))) {
        FieldReader shown(value.toObject());
        log.firstShown.insert(shown.text(QStringLiteral("task")), showing(shown));
        fields.include(shown, QStringLiteral("firstShown"));
    }

    for (const QJsonValue &value : fields.array(QStringLiteral("items"))) {
        FieldReader entry(value.toObject());
        const QString id = entry.text(QStringLiteral("id"));
        LoggedItem item;
        item.task = entry.text(QStringLiteral("task"));
        item.shownAt = entry.integer(QStringLiteral("shownAt"));
        item.sequence = entry.integer(QStringLiteral("sequence"));
        item.presentedAt = entry.optionalInteger(QStringLiteral("presentedAt"));
        item.stimulus = entry.text(QStringLiteral("stimulus"));
        item.text = entry.text(QStringLiteral("text"));
        item.value = entry.text(QStringLiteral("value"));
        item.changes = int(entry.integer(QStringLiteral("changes")));
        if (const std::optional<qint64> keystrokes = entry.optionalInteger(QStringLiteral("keystrokes")))
            item.keystrokes = int(*keystrokes);
        item.lastEditAt = entry.optionalInteger(QStringLiteral("lastEditAt"));
        item.lastChangeAt = entry.optionalInteger(QStringLiteral("lastChangeAt"));
        item.locked = entry.integer(QStringLiteral("locked")) != 0;
        fields.include(entry, QStringLiteral("items.") + id);
        log.items.insert(id, item);
    }

    for (const QJsonValue &value : fields.array(QStringLiteral("actions"))) {
        FieldReader action(value.toObject());
        log.actionList.append({action.text(QStringLiteral("task")), action.text(QStringLiteral("item")),
                               action.text(QStringLiteral("response")), action.text(QStringLiteral("outcome")),
                               action.integer(QStringLiteral("shownAt")), action.integer(QStringLiteral("at")),
                               action.integer(QStringLiteral("sequence"))});
        fields.include(action, QStringLiteral("actions"));
    }
    for (const QJsonValue &value : fields.array(QStringLiteral("events"))) {
        FieldReader event(value.toObject());
        log.eventList.append({event.text(QStringLiteral("task")), event.text(QStringLiteral("name")),
                              event.text(QStringLiteral("stimulus")), event.text(QStringLiteral("response")),
                              event.integer(QStringLiteral("at")), event.integer(QStringLiteral("sequence"))});
        fields.include(event, QStringLiteral("events"));
    }
    if (!fields.ok())
        return std::nullopt;
    return log;
}

void ItemLogCodec::shift(ItemLog &log, qint64 by)
{
    const auto move = [by](std::optional<qint64> &time) {
        if (time)
            *time += by;
    };
    move(log.sessionStart);
    log.currentShowing.at += by;
    for (WindowShowing &shown : log.firstShown)
        shown.at += by;
    for (LoggedItem &item : log.items) {
        item.shownAt += by;
        move(item.presentedAt);
        move(item.lastEditAt);
        move(item.lastChangeAt);
    }
    for (LoggedAction &action : log.actionList) {
        action.shownAt += by;
        action.at += by;
    }
    for (LoggedEvent &event : log.eventList)
        event.at += by;
}

QByteArray journalBytes(const Journal &journal)
{
    const QByteArray body = journalText(journal);
    return formatName + ' ' + QByteArray::number(formatVersion) + ' ' + QByteArray::number(body.size()) + ' '
           + digestOf(body) + '\n' + body;
}

ReadJournal readJournal(const QByteArray &bytes)
{
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QList<QByteArray> head = bytes.left(lineEnd).split(' ');
    if (lineEnd < 0 || head.size() != 4 || head[0] != formatName)
        return {std::nullopt, QStringLiteral("это не журнал тестирования")};
    if (head[1] != QByteArray::number(formatVersion))
        return {std::nullopt, QStringLiteral("журнал другого формата (%1)").arg(QString::fromLatin1(head[1]))};
    const QByteArray body = bytes.mid(lineEnd + 1);
    bool sized = false;
    if (head[2].toLongLong(&sized) != body.size() || !sized)
        return {std::nullopt, QStringLiteral("журнал записан не до конца")};
    if (digestOf(body) != head[3])
        return {std::nullopt, QStringLiteral("журнал повреждён")};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (!document.isObject())
        return {std::nullopt, QStringLiteral("журнал не читается: %1").arg(error.errorString())};
    ReadJournal read = readJournalObject(document.object());
    if (!read.journal)
        read.problem = QStringLiteral("журнал не читается: %1").arg(read.problem);
    return read;
}

void continueItemLog(ItemLog &log, qint64 writtenMonotonic, qint64 now)
{
    ItemLogCodec::shift(log, now - writtenMonotonic);
}
