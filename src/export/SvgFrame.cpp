#include "SvgFrame.h"

#include "TextWriter.h"

#include <cstdint>
#include <string>

namespace {

void appendNumber(std::string& out, double value) {
    char at[TextWriter::NumberBytes];
    out.append(at, TextWriter::storeNumber(at, value));
}

} // namespace

DrawingFrame SvgFrame::frame(QSize grid, int unitPixels, PixelSides unit, std::string_view paint) {
    DrawingFrame frame;
    std::string& head = frame.head;
    head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    appendNumber(head, grid.width() * unit.x);
    head += "mm\" height=\"";
    appendNumber(head, grid.height() * unit.y);
    head += "mm\" viewBox=\"0 0 ";
    head += std::to_string(std::int64_t{grid.width()} * unitPixels);
    head += ' ';
    head += std::to_string(std::int64_t{grid.height()} * unitPixels);
    if (!unit.isSquare()) {
        head += "\" preserveAspectRatio=\"none";
    }
    head += "\">\n<g ";
    head += paint;
    head += ">\n";
    frame.tail = "</g>\n</svg>\n";
    return frame;
}
