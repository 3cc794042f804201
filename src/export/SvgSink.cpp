#include "SvgSink.h"

#include "SvgFrame.h"
#include "SvgReaderBreaks.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

using namespace std::string_view_literals;

namespace {

DrawingFrame frame(QSize grid, int unitPixels, PixelSides unitMillimetres) {
    return SvgFrame::frame(grid, unitPixels, unitMillimetres,
                           R"(fill="#000000" shape-rendering="crispEdges")"sv);
}

constexpr std::size_t RectangleBytes = 16 + 5 * TextWriter::NumberBytes;
constexpr std::int64_t MostPathBytes =
    SvgSink::PathRectangles * RectangleBytes + SvgFrame::PathStart.size() + SvgFrame::PathEnd.size();

// A rectangle's part of a path, in the view box's pixels; returns the end.
char* storeRectangle(char* at, std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
    const auto put = [&at](std::string_view text) {
        std::memcpy(at, text.data(), text.size());
        at += text.size();
    };
    const auto number = [&at](std::int64_t value) { at = std::to_chars(at, at + 24, value).ptr; };
    put("M"sv);
    number(left);
    put(" "sv);
    number(top);
    put("h"sv);
    number(width);
    put("v"sv);
    number(height);
    put("h-"sv);
    number(width);
    put("z"sv);
    return at;
}

} // namespace

SvgSink::SvgSink(OutputFile& file, QSize grid, int unitPixels, PixelSides unitMillimetres)
    : SquaresSink(file, grid, frame(grid, unitPixels, unitMillimetres)), unitPixels_(unitPixels) {}

void SvgSink::draw(const UnitRectangle& rectangle) {
    const std::int64_t k = unitPixels_;
    if (inPath_ == 0 && breaks_.due(writer(), MostPathBytes)) {
        breaks_.write(writer());
    }
    char* at = writer().room(RectangleBytes);
    if (inPath_ == 0) {
        at = std::copy(SvgFrame::PathStart.begin(), SvgFrame::PathStart.end(), at);
    }
    at = storeRectangle(at, rectangle.left * k, rectangle.top * k, (rectangle.right - rectangle.left) * k,
                        (rectangle.bottom - rectangle.top) * k);
    if (++inPath_ == PathRectangles) {
        at = std::copy(SvgFrame::PathEnd.begin(), SvgFrame::PathEnd.end(), at);
        inPath_ = 0;
    }
    writer().wrote(at);
}

void SvgSink::endShapes() {
    if (inPath_ != 0) {
        writer().text(SvgFrame::PathEnd);
    }
}

std::int64_t SvgSink::fileBytes(QSize grid, int unitPixels, PixelSides unitMillimetres, std::int64_t shapes) {
    shapes = std::max<std::int64_t>(shapes, 0);
    const std::int64_t paths = (shapes + PathRectangles - 1) / PathRectangles;
    // A rectangle halfway across the drawing, one unit wide and one high.
    char rectangle[RectangleBytes];
    const std::int64_t k = unitPixels;
    const std::int64_t rectangleBytes = storeRectangle(rectangle, std::max(grid.width(), 0) / 2 * k,
                                                       std::max(grid.height(), 0) / 2 * k, k, k) -
                                        rectangle;
    const std::int64_t pathBytes =
        shapes * rectangleBytes +
        paths * static_cast<std::int64_t>(SvgFrame::PathStart.size() + SvgFrame::PathEnd.size());
    return frame(grid, unitPixels, unitMillimetres).bytes() + pathBytes +
           SvgReaderBreaks::bytesAmong(pathBytes);
}
