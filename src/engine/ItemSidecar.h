#pragma once

#include "engine/RunRecord.h"

#include <QByteArray>
#include <QString>

// The sidecar of an item file, "Фамилия_Имя_N.items.json": UTF-8 JSON that
// describes the file as a BIDS sidecar does. It names the run's session, the
// battery's version, the start (ISO 8601, local time, as the results file
// gives it), the results file and the SHA-256 of its exact bytes, then each
// column's description, unit and levels, and the levels of each item whose
// response is a code.

QByteArray itemSidecar(const QString &session, const RunRecord &record, const QString &resultsFileName,
                       const QByteArray &resultsBytes);

// What a sidecar ties its item file to, or why it is none.
struct ItemSidecarTies
{
    QString session;
    QString batteryVersion;
    QString started;
    QString resultsSha256;
    QString problem;
};
ItemSidecarTies readItemSidecar(const QByteArray &bytes);
