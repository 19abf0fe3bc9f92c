#include "windows/FocusLog.h"

#include "engine/ItemLog.h"

#include <QGuiApplication>

void logApplicationFocus(ItemLog &log, QObject *context)
{
    // A message box of the program's own keeps the application active; only
    // another application's window takes the focus away. The program starts
    // with its first window in front.
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, context,
                     [&log, active = true](Qt::ApplicationState state) mutable {
                         const bool nowActive = state == Qt::ApplicationActive;
                         if (nowActive == active)
                             return;
                         active = nowActive;
                         log.event(nowActive ? QStringLiteral("focus-regained") : QStringLiteral("focus-lost"));
                     });
}
