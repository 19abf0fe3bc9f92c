#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Helpers of the collector's suites: the collector run in-process, and its
// tables read back as a reader for R or a spreadsheet would read them.
namespace test {

// What one run of the collector left: its exit status, standard output
// (the table, unless written to a file) and standard error.
struct Outcome
{
    int status;
    QByteArray table;
    QString errors;

    // Standard error without the closing summary line.
    QString reports() const;
};

Outcome collect(const QStringList &arguments);

// The records of a CSV text, each ended by CR LF, fields quoted with '"'.
QList<QStringList> readCsv(const QByteArray &bytes, QChar separator);

// A cell of a table read back, by the name of its column.
QString cell(const QList<QStringList> &rows, int row, const QString &column);

// Writes a file whole, making its folder; fails the test when it cannot.
void writeBytes(const QString &path, const QByteArray &bytes);

// A file's bytes, or "(missing)" when it cannot be read.
QByteArray readBytes(const QString &path);

} // namespace test
