#pragma once

#include "RavenItems.h"

#include <QImage>
#include <QRectF>

// The item's picture: the problem on top, the numbered candidates below it,
// in shades of grey; scale times the size for displays of that pixel ratio.
QImage paintItem(const Item &item, int scale = 1);

// The least room, in pixels of the picture at scale 1, between two figures
// and between a figure and a frame or grid line.
constexpr qreal minimumGap = 3;

// Every place where the item's picture puts a figure closer than gap pixels
// to another figure or to a frame or grid line; empty when none does.
std::vector<std::string> checkSpacing(const Item &item, qreal gap = minimumGap);

// Where the missing piece and each candidate lie on the picture at scale 1.
QRectF missingPlace(const Item &item);
QRectF candidatePlace(const Item &item, size_t index);
