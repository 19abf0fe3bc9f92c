#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// Writes compact JSON straight into bytes, value by value, without building
// a document first: a journal written at every answer must cost next to
// nothing. The caller keeps the nesting right; commas come by themselves.
class JsonWriter
{
public:
    JsonWriter &beginObject() { return open('{'); }
    JsonWriter &endObject() { return close('}'); }
    JsonWriter &beginArray() { return open('['); }
    JsonWriter &endArray() { return close(']'); }

    // The key of the next value in an object.
    JsonWriter &key(const char *name);

    JsonWriter &value(const QString &text);
    JsonWriter &value(qint64 number);
    JsonWriter &value(int number) { return value(qint64(number)); }
    // The shortest text that reads back as the same double; null where no
    // JSON number can hold it (infinite, not a number).
    JsonWriter &value(double number);
    JsonWriter &value(const std::optional<qint64> &number);
    JsonWriter &value(const QStringList &texts);
    JsonWriter &null();

    const QByteArray &bytes() const { return out; }

private:
    JsonWriter &open(char bracket);
    JsonWriter &close(char bracket);
    void beforeValue();

    QByteArray out;
    bool first = true;   // no value yet in the innermost object or array
    bool keyed = false;  // a key was written; its value comes next
};
