#include "collect/SubjectRuns.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

qlonglong fileNumber(const QString &path)
{
    static const QRegularExpression numbered(QStringLiteral("_([0-9]+)(?: ?\\([0-9]+\\))?\\.txt$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return numbered.match(QFileInfo(path).fileName()).captured(1).toLongLong();
}

} // namespace

void numberRuns(QList<ResultsRow> &rows)
{
    QHash<QString, QList<ResultsRow *>> rowsOfSubject;
    for (ResultsRow &row : rows)
        rowsOfSubject[row.subject].append(&row);
    for (QList<ResultsRow *> &runs : rowsOfSubject) {
        if (runs.size() == 1) { // most subjects: no order to find
            runs.front()->run = 1;
            continue;
        }
        QList<std::tuple<qlonglong, QString, ResultsRow *>> ordered;
        for (ResultsRow *row : runs)
            ordered.append({fileNumber(row->file), row->file, row});
        std::sort(ordered.begin(), ordered.end());
        int run = 0;
        for (const auto &[number, file, row] : ordered)
            row->run = ++run;
    }
}
