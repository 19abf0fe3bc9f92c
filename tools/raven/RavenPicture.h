#pragma once

#include "RavenItems.h"

#include <QImage>

// The item's picture: the problem on top, the numbered candidates below it,
// in shades of grey.
QImage paintItem(const Item &item);
