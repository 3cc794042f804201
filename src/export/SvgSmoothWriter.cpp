#include "SvgSmoothWriter.h"

#include "SvgFrame.h"

#include <algorithm>
#include <charconv>
#include <string_view>

using namespace std::string_view_literals;

namespace {

DrawingFrame frame(QSize grid, int unitPixels, PixelSides unitMillimetres) {
    return SvgFrame::frame(grid, unitPixels, unitMillimetres, R"(fill="#000000" fill-rule="evenodd")"sv);
}

constexpr std::size_t StepBytes = 8 + 2 * TextWriter::NumberBytes; // a move or a step, at most

// `halves` / 2 exactly: whole, or with ".5".
char* putHalves(char* at, std::int64_t halves) {
    if (halves < 0) {
        *at++ = '-';
        halves = -halves;
    }
    at = std::to_chars(at, at + TextWriter::NumberBytes, halves / 2).ptr;
    if (halves % 2 != 0) {
        at = std::copy_n(".5", 2, at);
    }
    return at;
}

} // namespace

SvgSmoothWriter::SvgSmoothWriter(OutputFile& file, QSize grid, int unitPixels, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitPixels, unitMillimetres)), unitPixels_(unitPixels),
      paths_(PathVertices) {}

void SvgSmoothWriter::drawShape(const TracedShape& shape) {
    const auto polygons = smoother_.smooth(shape);
    std::int64_t vertices = 0;
    for (const std::vector<HalfPoint>& polygon : polygons) {
        vertices += static_cast<std::int64_t>(polygon.size());
    }
    paths_.beginShape(writer(), vertices, (vertices + std::ssize(polygons)) * std::int64_t{StepBytes});
    for (const std::vector<HalfPoint>& polygon : polygons) {
        writePolygon(polygon);
    }
}

void SvgSmoothWriter::endShapes(const ShapeSource&) {
    paths_.end(writer());
}

void SvgSmoothWriter::writePolygon(const std::vector<HalfPoint>& polygon) {
    if (polygon.empty()) {
        return;
    }
    HalfPoint last = polygon.front();
    char* at = writer().room(StepBytes);
    *at++ = 'M';
    at = putHalves(at, last.x * unitPixels_);
    *at++ = ' ';
    writer().wrote(putHalves(at, last.y * unitPixels_));
    for (auto point = polygon.begin() + 1; point != polygon.end(); ++point) {
        at = writer().room(StepBytes);
        *at++ = 'l';
        at = putHalves(at, (point->x - last.x) * unitPixels_);
        *at++ = ' ';
        writer().wrote(putHalves(at, (point->y - last.y) * unitPixels_));
        last = *point;
    }
    writer().character('z');
}
