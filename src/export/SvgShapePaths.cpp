#include "SvgShapePaths.h"

#include "SvgFrame.h"

#include <algorithm>

void SvgShapePaths::beginShape(TextWriter& writer, std::int64_t points, std::int64_t bytes) {
    const bool breakFirst = breaks_.due(writer, bytes + std::ssize(SvgFrame::PathEnd));
    if (inPath_ != 0 && (breakFirst || inPath_ + points > pathPoints_)) {
        writer.text(SvgFrame::PathEnd);
        inPath_ = 0;
    }
    if (breakFirst) {
        breaks_.write(writer);
    }
    if (inPath_ == 0) {
        writer.text(SvgFrame::PathStart);
    }
    // A path never stays open empty, even for a shape without points.
    inPath_ += std::max<std::int64_t>(points, 1);
}

void SvgShapePaths::end(TextWriter& writer) {
    if (inPath_ != 0) {
        writer.text(SvgFrame::PathEnd);
    }
}
