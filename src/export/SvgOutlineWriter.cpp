#include "SvgOutlineWriter.h"

#include "SvgFrame.h"
#include "SvgReaderBreaks.h"

#include <algorithm>
#include <charconv>
#include <string_view>

using namespace std::string_view_literals;

namespace {

DrawingFrame frame(QSize grid, int unitPixels, PixelSides unitMillimetres) {
    return SvgFrame::frame(grid, unitPixels, unitMillimetres,
                           R"(fill="#000000" fill-rule="evenodd" shape-rendering="crispEdges")"sv);
}

constexpr std::size_t StepBytes = 4 + 2 * TextWriter::NumberBytes; // a move or a step, at most

char* putInteger(char* at, std::int64_t value) {
    // Most steps are a few units long: one or two digits without a call.
    const std::uint64_t size =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (size >= 100) {
        return std::to_chars(at, at + TextWriter::NumberBytes, value).ptr;
    }
    *at = '-';
    at += value < 0;
    if (size >= 10) {
        *at++ = static_cast<char>('0' + size / 10);
    }
    *at++ = static_cast<char>('0' + size % 10);
    return at;
}

char* storeMove(char* at, std::int64_t x, std::int64_t y) {
    *at++ = 'M';
    at = putInteger(at, x);
    *at++ = ' ';
    return putInteger(at, y);
}

// Along an edge, or straight across should corners not turn at right angles.
char* storeStep(char* at, std::int64_t dx, std::int64_t dy) {
    if (dy == 0) {
        *at++ = 'h';
        return putInteger(at, dx);
    }
    if (dx == 0) {
        *at++ = 'v';
        return putInteger(at, dy);
    }
    *at++ = 'l';
    at = putInteger(at, dx);
    *at++ = ' ';
    return putInteger(at, dy);
}

std::int64_t cornersOf(const TracedShape& shape) {
    std::int64_t corners = 0;
    for (const Outline& outline : shape.outlines) {
        corners += static_cast<std::int64_t>(outline.corners.size());
    }
    return corners;
}

} // namespace

SvgOutlineWriter::SvgOutlineWriter(OutputFile& file, QSize grid, int unitPixels, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitPixels, unitMillimetres)), unitPixels_(unitPixels),
      paths_(PathCorners) {}

void SvgOutlineWriter::drawShape(const TracedShape& shape) {
    const std::int64_t corners = cornersOf(shape);
    paths_.beginShape(writer(), corners,
                      static_cast<std::int64_t>((corners + shape.outlines.size()) * StepBytes));
    for (const Outline& outline : shape.outlines) {
        writeOutline(outline);
    }
}

void SvgOutlineWriter::endShapes(const ShapeSource&) {
    paths_.end(writer());
}

void SvgOutlineWriter::writeOutline(const Outline& outline) {
    if (outline.corners.empty()) {
        return;
    }
    const std::int64_t k = unitPixels_;
    OutlineCorner last = outline.corners.front();
    writer().wrote(storeMove(writer().room(StepBytes), last.x * k, last.y * k));
    for (auto corner = outline.corners.begin() + 1; corner != outline.corners.end(); ++corner) {
        writer().wrote(
            storeStep(writer().room(StepBytes), (corner->x - last.x) * k, (corner->y - last.y) * k));
        last = *corner;
    }
    writer().character('z');
}

std::int64_t SvgOutlineWriter::fileBytes(QSize grid, int unitPixels, PixelSides unitMillimetres,
                                         const OutlineTotals& totals) {
    const std::int64_t shapes = std::max<std::int64_t>(totals.shapes, 0);
    const std::int64_t outlines = std::max<std::int64_t>(totals.outlines, 0);
    const std::int64_t corners = std::max<std::int64_t>(totals.corners, 0);
    const std::int64_t paths =
        std::min(shapes, (std::max<std::int64_t>(corners, shapes) + PathCorners - 1) / PathCorners);
    const std::int64_t k = unitPixels;
    char text[StepBytes];
    // A move to halfway across, and its outline's closing z.
    const std::int64_t move =
        storeMove(text, std::max(grid.width(), 0) / 2 * k, std::max(grid.height(), 0) / 2 * k) - text + 1;
    const std::int64_t steps = std::max<std::int64_t>(corners - outlines, 0);
    const std::int64_t step = storeStep(text, k, 0) - text;
    const std::int64_t pathData = outlines * move + steps * step + steps / 2;
    return frame(grid, unitPixels, unitMillimetres).bytes() +
           paths * static_cast<std::int64_t>(SvgFrame::PathStart.size() + SvgFrame::PathEnd.size()) +
           pathData + SvgReaderBreaks::bytesAmong(pathData);
}
