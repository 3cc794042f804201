#pragma once
// The drawing exchange format (ASCII DXF, AutoCAD 2000, millimetres): the selected units as filled
// SOLID rectangles on one layer, upright with the picture's lower-left corner at the origin, framed
// by the header's extents and the active view. Columns' runs are merged into rectangles first.

#include "MergedRectangles.h"
#include "PointSink.h"
#include "TextWriter.h"

#include <QSize>

#include <cstdint>
#include <string_view>
#include <vector>

class RecordFile;

class DxfSink : public PointSink {
public:
    // Handles from here on are the rectangles'; the fixed records of the drawing lie below.
    static constexpr std::uint64_t FirstShapeHandle = 0x100;

    // Writes everything up to the first rectangle at once.
    DxfSink(RecordFile& file, QSize grid, double unitMillimetres);

    void addStretch(const ColumnStretch& stretch) override { rectangles_.addStretch(stretch); }
    void endColumn(std::int32_t x) override;
    void finish() override;
    std::int64_t shapeCount() const override { return shapes_; }
    std::int64_t runCount() const { return rectangles_.runs(); }

    // The bytes of the file a sink of this grid writes with `shapes` rectangles: its fixed text and
    // handles exactly, every coordinate taken as long as the one halfway across the drawing.
    static std::int64_t fileBytes(QSize grid, double unitMillimetres, std::int64_t shapes);

private:
    void writeSolid(const UnitRectangle& rectangle);
    // The coordinate n·u, formatted once for every n a rectangle's edge can take.
    std::string_view coordinate(std::int32_t n) const {
        return {coordinates_.data() + static_cast<std::size_t>(n) * TextWriter::NumberBytes,
                coordinateBytes_[static_cast<std::size_t>(n)]};
    }

    TextWriter writer_;
    QSize grid_;
    double unit_;
    MergedRectangles rectangles_;
    std::vector<char> coordinates_;
    std::vector<std::uint8_t> coordinateBytes_;
    std::int64_t shapes_ = 0;
};
