#include "OutlineDrawing.h"

#include <algorithm>

void writeOutlineDrawing(OutputFormat format, RecordFile& file, const SinkSetup& setup,
                         const SelectionShapes& shapes) {
    // Stands in for the outline writers until they are wired in here: the shapes traced once, as the
    // writers trace them, for their counts; then the format's squares drawing of the units the speck
    // filter keeps, handed over as a point selection hands them.
    shapes.forEachShape([](const TracedShape&) {});
    const auto sink = formatEntry(format).makeSink(file, setup);
    static constexpr std::uint16_t NoSums[ColumnStretch::MaxRows] = {};
    const std::int32_t rows = setup.grid.height();
    for (std::int32_t x = 0; x < setup.grid.width(); ++x) {
        for (std::int32_t top = 0; top < rows; top += ColumnStretch::MaxRows) {
            const std::size_t count =
                static_cast<std::size_t>(std::min<std::int32_t>(ColumnStretch::MaxRows, rows - top));
            ColumnStretch stretch{x, top, count,
                                  count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1, NoSums};
            stretch.selected = shapes.keptRows(stretch);
            if (stretch.selected != 0) {
                sink->addStretch(stretch);
            }
        }
        sink->endColumn(x);
    }
    sink->finish();
}
