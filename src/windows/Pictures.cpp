#include "windows/Pictures.h"

#include <QtGlobal>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void registerEachResource()
{
    Q_INIT_RESOURCE(handeye);
    Q_INIT_RESOURCE(math);
    Q_INIT_RESOURCE(raven);
}

void registerPictures()
{
    static const bool registered = (registerEachResource(), true);
    Q_UNUSED(registered);
}
