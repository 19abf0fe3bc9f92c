#include "windows/FocusLog.h"

#include "engine/ItemLog.h"

#include <QGuiApplication>

void logApplicationFocus()
{
    static bool watching = false;
    if (watching)
        return;
    watching = true;
    // A message box of the program's own keeps the application active; only
    // another application's window takes the focus away.
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, qApp, [](Qt::ApplicationState state) {
        static bool active = true; // the program starts with its first window in front
        const bool nowActive = state == Qt::ApplicationActive;
        if (nowActive == active)
            return;
        active = nowActive;
        itemLog().event(nowActive ? QStringLiteral("focus-regained") : QStringLiteral("focus-lost"));
    });
}
