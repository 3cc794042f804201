#include "SvgSink.h"

#include <algorithm>
#include <string_view>

using namespace std::string_view_literals;

namespace {

// The start of the drawing up to its first path, into a TextWriter or a TextCounter.
template <typename Out> void writeHead(Out& out, QSize grid, int unitPixels, double unitMillimetres) {
    out.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""sv);
    out.number(grid.width() * unitMillimetres);
    out.text("mm\" height=\""sv);
    out.number(grid.height() * unitMillimetres);
    out.text("mm\" viewBox=\"0 0 "sv);
    out.integer(std::int64_t{grid.width()} * unitPixels);
    out.character(' ');
    out.integer(std::int64_t{grid.height()} * unitPixels);
    out.text("\">\n<g fill=\"#000000\" shape-rendering=\"crispEdges\">\n"sv);
}

constexpr std::string_view PathStart = "<path d=\""sv;
constexpr std::string_view PathEnd = "\"/>\n"sv;
constexpr std::string_view Tail = "</g>\n</svg>\n"sv;

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

SvgSink::SvgSink(RecordFile& file, QSize grid, int unitPixels, double unitMillimetres)
    : writer_(file), grid_(grid), unitPixels_(unitPixels),
      rectangles_(static_cast<std::size_t>(std::max(grid.height(), 0))) {
    writeHead(writer_, grid, unitPixels, unitMillimetres);
}

void SvgSink::endColumn(std::int32_t x) {
    rectangles_.endColumn(x, [this](const UnitRectangle& rectangle) { writeRectangle(rectangle); });
}

void SvgSink::finish() {
    rectangles_.finish(grid_.width(), [this](const UnitRectangle& rectangle) { writeRectangle(rectangle); });
    if (inPath_ != 0) {
        writer_.text(PathEnd);
    }
    writer_.text(Tail);
    writer_.flush();
}

void SvgSink::writeRectangle(const UnitRectangle& rectangle) {
    const std::int64_t k = unitPixels_;
    char* at = writer_.room(16 + 5 * TextWriter::NumberBytes);
    if (inPath_ == 0) {
        at = std::copy(PathStart.begin(), PathStart.end(), at);
    }
    at = storeRectangle(at, rectangle.left * k, rectangle.top * k, (rectangle.right - rectangle.left) * k,
                        (rectangle.bottom - rectangle.top) * k);
    if (++inPath_ == PathRectangles) {
        at = std::copy(PathEnd.begin(), PathEnd.end(), at);
        inPath_ = 0;
    }
    writer_.wrote(at);
    ++shapes_;
}

std::int64_t SvgSink::fileBytes(QSize grid, int unitPixels, double unitMillimetres, std::int64_t shapes) {
    TextCounter fixed;
    writeHead(fixed, grid, unitPixels, unitMillimetres);
    shapes = std::max<std::int64_t>(shapes, 0);
    const std::int64_t paths = (shapes + PathRectangles - 1) / PathRectangles;
    // A rectangle halfway across the drawing, one unit wide and one high.
    char rectangle[16 + 5 * TextWriter::NumberBytes];
    const std::int64_t k = unitPixels;
    const auto rectangleBytes = storeRectangle(rectangle, std::max(grid.width(), 0) / 2 * k,
                                               std::max(grid.height(), 0) / 2 * k, k, k) -
                                rectangle;
    return fixed.bytes() + paths * static_cast<std::int64_t>(PathStart.size() + PathEnd.size()) +
           shapes * rectangleBytes + static_cast<std::int64_t>(Tail.size());
}
