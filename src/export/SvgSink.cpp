#include "SvgSink.h"

#include <algorithm>
#include <string_view>

using namespace std::string_view_literals;

SvgSink::SvgSink(RecordFile& file, QSize grid, int unitPixels, double unitMillimetres)
    : writer_(file), grid_(grid), unitPixels_(unitPixels),
      rectangles_(static_cast<std::size_t>(std::max(grid.height(), 0))) {
    writer_.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""sv);
    writer_.number(grid.width() * unitMillimetres);
    writer_.text("mm\" height=\""sv);
    writer_.number(grid.height() * unitMillimetres);
    writer_.text("mm\" viewBox=\"0 0 "sv);
    writer_.integer(std::int64_t{grid.width()} * unitPixels);
    writer_.character(' ');
    writer_.integer(std::int64_t{grid.height()} * unitPixels);
    writer_.text("\">\n<g fill=\"#000000\" shape-rendering=\"crispEdges\">\n"sv);
}

void SvgSink::endColumn(std::int32_t x) {
    rectangles_.endColumn(x, [this](const UnitRectangle& rectangle) { writeRectangle(rectangle); });
}

void SvgSink::finish() {
    rectangles_.finish(grid_.width(), [this](const UnitRectangle& rectangle) { writeRectangle(rectangle); });
    if (inPath_ != 0) {
        writer_.text("\"/>\n"sv);
    }
    writer_.text("</g>\n</svg>\n"sv);
    writer_.flush();
}

void SvgSink::writeRectangle(const UnitRectangle& rectangle) {
    const std::int64_t k = unitPixels_;
    const std::int64_t width = (rectangle.right - rectangle.left) * k;
    char* at = writer_.room(16 + 5 * TextWriter::NumberBytes);
    const auto put = [&at](std::string_view text) {
        std::memcpy(at, text.data(), text.size());
        at += text.size();
    };
    const auto number = [&at](std::int64_t value) { at = std::to_chars(at, at + 24, value).ptr; };
    if (inPath_ == 0) {
        put("<path d=\""sv);
    }
    put("M"sv);
    number(rectangle.left * k);
    put(" "sv);
    number(rectangle.top * k);
    put("h"sv);
    number(width);
    put("v"sv);
    number((rectangle.bottom - rectangle.top) * k);
    put("h-"sv);
    number(width);
    put("z"sv);
    if (++inPath_ == PathRectangles) {
        put("\"/>\n"sv);
        inPath_ = 0;
    }
    writer_.wrote(at);
    ++shapes_;
}
