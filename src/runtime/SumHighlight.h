#pragma once
// Which pixels a picture box marks on screen, by their channel sum (red + green + blue, 0 to 765):
// those below a limit or those above it, drawn in one colour over the picture. Painting only.

#include "ChannelSum.h"

#include <QRgb>

struct SumHighlight {
    enum class Side { Below, Above };
    Side side = Side::Below;
    int limit = 0; // marked: sum < limit (Below) or sum > limit (Above)
    QRgb colour = qRgb(255, 0, 0);

    constexpr bool marks(int sum) const { return side == Side::Below ? sum < limit : sum > limit; }
    bool operator==(const SumHighlight&) const = default;
};
