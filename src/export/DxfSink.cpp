#include "DxfSink.h"

#include "DxfFrame.h"

#include <algorithm>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

constexpr DxfLayer Layers[] = {{"PIXELS"sv, 0x11}};

DrawingFrame frame(QSize grid, PixelSides unit) {
    // Every unit can be a rectangle of its own: the handles can never reach past this.
    const std::uint64_t cells = static_cast<std::uint64_t>(std::max(grid.width(), 0)) *
                                static_cast<std::uint64_t>(std::max(grid.height(), 0));
    return DxfFrame::frame(grid, unit, Layers, cells);
}

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

struct SolidEdges {
    std::string_view left, right, bottom, top;
};

// A SOLID of the rectangle with these edges' coordinates; returns the end. Takes at most 512 bytes.
char* storeSolid(char* at, std::uint64_t handle, const SolidEdges& edges) {
    at = put(at, "  0\nSOLID\n  5\n"sv);
    at = TextWriter::storeHexadecimal(at, handle);
    at = put(at, "\n330\n"sv);
    at = put(at, DxfFrame::entityOwner());
    at = put(at, "\n100\nAcDbEntity\n  8\n"sv);
    at = put(at, Layers[0].name);
    at = put(at, "\n100\nAcDbTrace\n 10\n"sv);
    at = put(at, edges.left);
    at = put(at, "\n 20\n"sv);
    at = put(at, edges.bottom);
    at = put(at, "\n 30\n0\n 11\n"sv);
    at = put(at, edges.right);
    at = put(at, "\n 21\n"sv);
    at = put(at, edges.bottom);
    at = put(at, "\n 31\n0\n 12\n"sv);
    at = put(at, edges.left);
    at = put(at, "\n 22\n"sv);
    at = put(at, edges.top);
    at = put(at, "\n 32\n0\n 13\n"sv);
    at = put(at, edges.right);
    at = put(at, "\n 23\n"sv);
    at = put(at, edges.top);
    at = put(at, "\n 33\n0\n"sv);
    return at;
}

} // namespace

DxfSink::DxfSink(OutputFile& file, QSize grid, PixelSides unit)
    : SquaresSink(file, grid, frame(grid, unit)), coordinates_(grid, unit) {}

void DxfSink::draw(const UnitRectangle& rectangle) {
    const std::int32_t height = grid().height();
    char* const at = writer().room(512);
    writer().wrote(
        storeSolid(at, DxfFrame::FirstEntityHandle + static_cast<std::uint64_t>(shapeCount()),
                   {coordinates_.x(rectangle.left), coordinates_.x(rectangle.right),
                    coordinates_.y(height - rectangle.bottom), coordinates_.y(height - rectangle.top)}));
}

std::int64_t DxfSink::fileBytes(QSize grid, PixelSides unit, std::int64_t shapes) {
    // A rectangle's corners, each edge taking the length of a coordinate halfway across.
    const auto middle = [](int units, double unitMillimetres) {
        char at[TextWriter::NumberBytes];
        return std::string(at, TextWriter::storeNumber(at, (std::max(units, 0) / 2) * unitMillimetres));
    };
    const std::string x = middle(grid.width(), unit.x);
    const std::string y = middle(grid.height(), unit.y);
    char solid[512];
    const std::int64_t withoutHandle = storeSolid(solid, 0, {x, x, y, y}) - solid - 1;
    return SquaresSink::fileBytes(frame(grid, unit), shapes, withoutHandle) + DxfFrame::handleDigits(shapes);
}
