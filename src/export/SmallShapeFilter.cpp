#include "SmallShapeFilter.h"

#include <bit>

void SmallShapeFilter::addStretch(const ColumnStretch& stretch) {
    ColumnStretch kept = stretch;
    kept.selected = shapes_.keptRows(stretch);
    if (kept.selected != 0) {
        points_ += std::popcount(kept.selected);
        sink_.addStretch(kept);
    }
}
