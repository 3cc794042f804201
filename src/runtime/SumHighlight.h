#pragma once
// Which pixels a picture box marks on screen, by their channel sum (red + green + blue, 0 to 765): the
// sums an export selects, drawn in one colour over the picture. Painting only.

#include "ChannelSum.h"
#include "SelectionRule.h"

#include <QRgb>

struct SumHighlight {
    SelectedSums sums;
    QRgb colour = qRgb(255, 0, 0);

    constexpr bool marks(int sum) const { return sums.contains(sum); }
    bool operator==(const SumHighlight&) const = default;
};
