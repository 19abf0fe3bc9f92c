#include "support/CollectSupport.h"

#include "collect/CommandLine.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace test {

QString Outcome::reports() const
{
    static const QRegularExpression summary(QStringLiteral("^cogbattery-collect: \\d+ results files? read.*\n"),
                                            QRegularExpression::MultilineOption);
    return QString(errors).remove(summary);
}

Outcome collect(const QStringList &arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = runCollector(QStringList{QStringLiteral("cogbattery-collect")} + arguments, {out, err, false});
    return {status, out.data(), QString::fromUtf8(err.data())};
}

QList<QStringList> readCsv(const QByteArray &bytes, QChar separator)
{
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            row << std::exchange(field, {});
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << std::exchange(field, {});
            rows << std::exchange(row, {});
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

QString cell(const QList<QStringList> &rows, int row, const QString &column)
{
    return rows.value(row).value(rows.value(0).indexOf(column), QStringLiteral("(no such cell)"));
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace test
