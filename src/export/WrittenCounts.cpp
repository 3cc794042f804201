#include "WrittenCounts.h"

#include "DxfOutlineWriter.h"
#include "ExportJob.h"
#include "FixedExportControls.h"
#include "MergedRectangles.h"
#include "PointSelection.h"
#include "SelectionShapes.h"
#include "SvgOutlineWriter.h"
#include "runtime/GreyOfSum.h"

#include <bit>

namespace {

bool leavesUnitsOut(const FormatEntry& format, ShapeChoice shapes) {
    return format.filtersSpecks && shapes.minimumArea > 1;
}

bool drawsOutlines(const FormatEntry& format, ShapeChoice shapes) {
    return format.drawing && shapes.kind == ShapeKind::Outlines;
}

int decimalDigits(std::uint32_t grey) {
    return grey >= 100 ? 3 : grey >= 10 ? 2 : 1;
}

// What a format's sink of points gets: the points, their grey levels' digits, and the merged rectangles.
class CountingSink : public PointSink {
public:
    explicit CountingSink(QSize grid) : rectangles_(static_cast<std::size_t>(grid.height())) {}

    void addStretch(const ColumnStretch& stretch) override {
        extent_.points += std::popcount(stretch.selected);
        for (std::uint64_t rows = stretch.selected; rows != 0; rows &= rows - 1) {
            extent_.greyDigits += decimalDigits(greyOfSum(stretch.sums[std::countr_zero(rows)]));
        }
        rectangles_.addStretch(stretch);
    }
    void endColumn(std::int32_t x) override {
        rectangles_.endColumn(x, [this](const UnitRectangle&) { ++extent_.shapes; });
    }
    void finish() override {}
    void finishAt(std::int32_t end) {
        rectangles_.finish(end, [this](const UnitRectangle&) { ++extent_.shapes; });
    }
    const SelectionExtent& extent() const { return extent_; }

private:
    MergedRectangles rectangles_;
    SelectionExtent extent_;
};

// Passes on the units the shapes keep and notes the others.
class KeptUnits : public PointSink {
public:
    KeptUnits(PointSink& sink, const SelectionShapes& shapes, LeftOutUnits& leftOut)
        : sink_(sink), shapes_(shapes), leftOut_(leftOut) {}

    void addStretch(const ColumnStretch& stretch) override {
        ColumnStretch kept = stretch;
        kept.selected = shapes_.keptRows(stretch);
        for (std::uint64_t rows = stretch.selected & ~kept.selected; rows != 0; rows &= rows - 1) {
            leftOut_.add(stretch.x, stretch.firstY + std::countr_zero(rows));
        }
        if (kept.selected != 0) {
            sink_.addStretch(kept);
        }
    }
    void endColumn(std::int32_t x) override { sink_.endColumn(x); }
    void finish() override { sink_.finish(); }

private:
    PointSink& sink_;
    const SelectionShapes& shapes_;
    LeftOutUnits& leftOut_;
};

// A sink that takes nothing, for the pass that only notes the units left out.
class NoSink : public PointSink {
public:
    void addStretch(const ColumnStretch&) override {}
    void endColumn(std::int32_t) override {}
    void finish() override {}
};

std::int64_t outlineBytes(const FormatEntry& format, const SinkSetup& setup, const OutlineTotals& totals) {
    return format.format == OutputFormat::Dxf
               ? DxfOutlineWriter::fileBytes(setup.grid, setup.unitMillimetres, totals)
               : SvgOutlineWriter::fileBytes(setup.grid, setup.unitPixels, setup.unitMillimetres, totals);
}

} // namespace

bool countsNeedAPass(const FormatEntry& format, ShapeChoice shapes) {
    return format.drawing || leavesUnitsOut(format, shapes);
}

WrittenCounts countWritten(const PictureSurface& source, const FormatEntry& format, ShapeChoice shapes,
                           ExportPolarity polarity, int threshold, double pixelMillimetres) {
    FixedExportControls controls(polarity, threshold);
    const int unitPixels = PointSelection::unitSpan(source);
    const SinkSetup setup{
        {}, PointSelection::unitGrid(source, format.numbering), pixelMillimetres * unitPixels, unitPixels};
    const auto select = [&](PointSink& sink) {
        PointSelection(controls, format.numbering).run(source, sink);
    };
    WrittenCounts counts;
    std::optional<SelectionShapes> shapesKept;
    std::shared_ptr<LeftOutUnits> leftOut;
    if (leavesUnitsOut(format, shapes) || drawsOutlines(format, shapes)) {
        shapesKept.emplace(setup.grid, format.filtersSpecks ? shapes.minimumArea : 0);
        select(*shapesKept);
        if (leavesUnitsOut(format, shapes)) {
            leftOut = std::make_shared<LeftOutUnits>(setup.grid, unitPixels);
        }
    }
    if (drawsOutlines(format, shapes)) {
        shapesKept->forEachShape([](const TracedShape&) {});
        const OutlineTotals totals{shapesKept->shapeCount(), shapesKept->outlineCount(),
                                   shapesKept->cornerCount()};
        counts.points = shapesKept->keptUnits();
        counts.shapes = totals.shapes;
        counts.bytes = outlineBytes(format, setup, totals);
        if (leftOut) {
            NoSink nothing;
            KeptUnits kept(nothing, *shapesKept, *leftOut);
            select(kept);
        }
    } else {
        CountingSink sink(setup.grid);
        if (leftOut) {
            KeptUnits kept(sink, *shapesKept, *leftOut);
            select(kept);
        } else {
            select(sink);
        }
        sink.finishAt(setup.grid.width());
        counts.points = sink.extent().points;
        if (format.drawing) {
            counts.shapes = sink.extent().shapes;
        }
        counts.bytes = ExportJob::fileBytes(source, format.format, sink.extent(), pixelMillimetres);
    }
    if (leftOut && !leftOut->empty()) {
        counts.leftOut = std::move(leftOut);
    }
    return counts;
}
