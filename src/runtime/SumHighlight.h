#pragma once
// Which pixels a picture box marks on screen, by their channel sum (red + green + blue, 0 to 765): the
// sums an export selects, drawn in one colour over the picture. Painting only.

#include "ChannelSum.h"
#include "LeftOutUnits.h"
#include "SelectionRule.h"

#include <QRgb>

#include <memory>

struct SumHighlight {
    SelectedSums sums;
    QRgb colour = qRgb(255, 0, 0);
    // Units left unmarked whatever their sums (none: every pixel of the sums is marked).
    std::shared_ptr<const LeftOutUnits> leftOut;

    constexpr bool marks(int sum) const { return sums.contains(sum); }
    bool operator==(const SumHighlight&) const = default;
};
