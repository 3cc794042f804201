#include "WrittenCounts.h"

#include "DxfOutlineWriter.h"
#include "ExportJob.h"
#include "FixedExportControls.h"
#include "MergedRectangles.h"
#include "PointSelection.h"
#include "SelectionShapes.h"
#include "ShapeSweep.h"
#include "SvgOutlineWriter.h"
#include "runtime/GreyOfSum.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {

bool leavesUnitsOut(const FormatEntry& format, ShapeChoice shapes) {
    return format.filtersSpecks && shapes.minimumArea > 1;
}

bool drawsOutlines(const FormatEntry& format, ShapeChoice shapes) {
    return format.drawing && shapes.kind != ShapeKind::Squares;
}

int decimalDigits(std::uint32_t grey) {
    return grey >= 100 ? 3 : grey >= 10 ? 2 : 1;
}

// What a format's sink of points gets: the points, their grey levels' digits, and the merged rectangles.
class CountingSink : public PointSink {
public:
    // The grey levels are read only when `greyDigits` asks for their digits.
    CountingSink(QSize grid, bool greyDigits)
        : rectangles_(static_cast<std::size_t>(grid.height())), greyDigits_(greyDigits) {}

    void addStretch(const ColumnStretch& stretch) override {
        extent_.points += std::popcount(stretch.selected);
        for (std::uint64_t rows = greyDigits_ ? stretch.selected : 0; rows != 0; rows &= rows - 1) {
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
    bool greyDigits_;
};

// The selected units as bits, 64 rows of a column to a word, kept while a sink of shapes gathers them:
// walking them again costs far less than selecting them again from the picture.
class SelectedBits : public PointSink {
public:
    SelectedBits(PointSink& sink, QSize grid)
        : sink_(sink), grid_(grid), wordsPerColumn_((static_cast<std::size_t>(grid.height()) + 63) / 64),
          words_(wordsPerColumn_ * static_cast<std::size_t>(grid.width())) {}

    void addStretch(const ColumnStretch& stretch) override {
        const std::size_t word = static_cast<std::size_t>(stretch.x) * wordsPerColumn_ +
                                 static_cast<std::size_t>(stretch.firstY) / 64;
        const int shift = stretch.firstY % 64;
        words_[word] |= stretch.selected << shift;
        if (shift != 0 && (stretch.selected >> (64 - shift)) != 0) {
            words_[word + 1] |= stretch.selected >> (64 - shift);
        }
        sink_.addStretch(stretch);
    }
    void endColumn(std::int32_t x) override { sink_.endColumn(x); }
    void finish() override { sink_.finish(); }

    // The outlines and corners of the shapes of the bits, from the 2 x 2 units around every corner of a
    // unit: one or three of them selected make a corner, two across a diagonal make two (the shape's
    // boundary passes there twice) and count against the holes, as the Euler number of shapes touching at
    // corners (shapes less holes) has it. Outlines are the shapes and their holes.
    OutlineTotals outlineTotals(std::int64_t shapes) const {
        const std::size_t words = (static_cast<std::size_t>(grid_.height()) + 1 + 63) / 64;
        const auto wordOf = [&](std::int32_t x, std::size_t word) -> std::uint64_t {
            return x < 0 || x >= grid_.width() || word >= wordsPerColumn_
                       ? 0
                       : words_[static_cast<std::size_t>(x) * wordsPerColumn_ + word];
        };
        std::int64_t corners = 0;
        std::int64_t euler4 = 0; // four times the Euler number
        for (std::int32_t x = -1; x < grid_.width(); ++x) {
            std::uint64_t leftAbove = 0;
            std::uint64_t rightAbove = 0;
            for (std::size_t word = 0; word < words; ++word) {
                // Bit v: the corner above unit row v, between columns x and x + 1.
                const std::uint64_t left = wordOf(x, word);
                const std::uint64_t right = wordOf(x + 1, word);
                const std::uint64_t a = left, b = (left << 1) | leftAbove;
                const std::uint64_t c = right, d = (right << 1) | rightAbove;
                leftAbove = left >> 63;
                rightAbove = right >> 63;
                const std::uint64_t odd = a ^ b ^ c ^ d;
                const std::uint64_t pairs = (a & b) | (a & c) | (a & d) | (b & c) | (b & d) | (c & d);
                const int one = std::popcount(odd & ~pairs);
                const int three = std::popcount(odd & pairs);
                const int diagonal = std::popcount((a & d & ~b & ~c) | (b & c & ~a & ~d));
                corners += one + three + 2 * diagonal;
                euler4 += one - three - 2 * diagonal;
            }
        }
        const std::int64_t holes = shapes - euler4 / 4;
        return {shapes, shapes + holes, corners};
    }

    // Hands the kept bits to `sink` as stretches without grey levels, column by column, notes the others
    // and keeps only the kept ones.
    void walk(const SelectionShapes& shapes, LeftOutUnits& leftOut, PointSink& sink) {
        for (std::int32_t x = 0; x < grid_.width(); ++x) {
            for (std::size_t word = 0; word < wordsPerColumn_; ++word) {
                const std::uint64_t selected = words_[static_cast<std::size_t>(x) * wordsPerColumn_ + word];
                if (selected == 0) {
                    continue;
                }
                const auto firstY = static_cast<std::int32_t>(word * 64);
                const ColumnStretch stretch{x, firstY, std::min<std::size_t>(64, grid_.height() - firstY),
                                            selected, nullptr};
                const std::uint64_t kept = shapes.keptRows(stretch);
                words_[static_cast<std::size_t>(x) * wordsPerColumn_ + word] = kept;
                for (std::uint64_t rows = selected & ~kept; rows != 0; rows &= rows - 1) {
                    leftOut.add(x, firstY + std::countr_zero(rows));
                }
                if (kept != 0) {
                    sink.addStretch({x, firstY, stretch.count, kept, nullptr});
                }
            }
            sink.endColumn(x);
        }
        sink.finish();
    }

private:
    PointSink& sink_;
    QSize grid_;
    std::size_t wordsPerColumn_;
    std::vector<std::uint64_t> words_;
};

// The shapes of the selection (touching at edges or corners) of `minimumArea` units or more, and their units,
// told apart by the sweep the export's shapes use, without a grid or tracing.
class ShapeTally : public PointSink {
public:
    explicit ShapeTally(std::int64_t minimumArea) : minimumArea_(std::max<std::int64_t>(minimumArea, 1)) {}

    void addStretch(const ColumnStretch& stretch) override {
        forEachSelectedRun(stretch, [&](int first, int length) {
            sweep_.addRun(stretch.firstY + first, stretch.firstY + first + length);
        });
    }
    void endColumn(std::int32_t) override {
        sweep_.joinColumn();
        for (const Sweep::Run& run : sweep_.coming()) {
            sweep_.partOf(run).units += run.bottom - run.top;
        }
        sweep_.endColumn([this](Size&& shape, const Sweep::Run&) { count(shape); });
    }
    void finish() override {
        sweep_.finish([this](Size&& shape, const Sweep::Run&) { count(shape); });
    }
    std::int64_t shapes() const { return shapes_; }
    std::int64_t units() const { return units_; }

private:
    struct Size {
        std::int64_t units = 0;
        void join(Size&& other) { units += other.units; }
    };
    using Sweep = ShapeSweep<Size>;

    void count(const Size& shape) {
        if (shape.units >= minimumArea_) {
            ++shapes_;
            units_ += shape.units;
        }
    }

    Sweep sweep_;
    std::int64_t minimumArea_;
    std::int64_t shapes_ = 0;
    std::int64_t units_ = 0;
};

// Hands every stretch to two sinks.
class BothSinks : public PointSink {
public:
    BothSinks(PointSink& first, PointSink& second) : first_(first), second_(second) {}
    void addStretch(const ColumnStretch& stretch) override {
        first_.addStretch(stretch);
        second_.addStretch(stretch);
    }
    void endColumn(std::int32_t x) override {
        first_.endColumn(x);
        second_.endColumn(x);
    }
    void finish() override {
        first_.finish();
        second_.finish();
    }

private:
    PointSink& first_;
    PointSink& second_;
};

// The grey levels' digits of every selected unit.
class GreyDigits : public PointSink {
public:
    void addStretch(const ColumnStretch& stretch) override {
        for (std::uint64_t rows = stretch.selected; rows != 0; rows &= rows - 1) {
            digits_ += decimalDigits(greyOfSum(stretch.sums[std::countr_zero(rows)]));
        }
    }
    void endColumn(std::int32_t) override {}
    void finish() override {}
    std::int64_t digits() const { return digits_; }

private:
    std::int64_t digits_ = 0;
};

// The grey levels' digits of the units left out, read where the selection reads them.
std::int64_t leftOutDigits(const PictureSurface& source, PointNumbering numbering,
                           const LeftOutUnits& leftOut, QSize grid) {
    const UnitReads reads = PointSelection::unitReads(source, numbering);
    const QImage& image = source.image();
    std::int64_t digits = 0;
    leftOut.forEachWithin(0, 0, grid.width(), grid.height(), [&](int x, int y) {
        const QRgb pixel =
            reinterpret_cast<const QRgb*>(image.constScanLine(reads.rows[y]))[reads.columns[x]];
        digits +=
            decimalDigits(greyOfSum(static_cast<std::uint32_t>(qRed(pixel) + qGreen(pixel) + qBlue(pixel))));
    });
    return digits;
}

// A sink that takes nothing, for a walk that only notes the units left out.
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
                           ExportPolarity polarity, int threshold, PixelSides pixelMillimetres) {
    FixedExportControls controls(polarity, threshold);
    const int unitPixels = PointSelection::unitSpan(source);
    const SinkSetup setup{
        {}, PointSelection::unitGrid(source, format.numbering), pixelMillimetres * unitPixels, unitPixels};
    const auto select = [&](PointSink& sink) {
        PointSelection(controls, format.numbering).run(source, sink);
    };
    WrittenCounts counts;
    const bool outlines = drawsOutlines(format, shapes);
    const bool greyDigits = !format.drawing;
    std::shared_ptr<LeftOutUnits> leftOut;
    NoSink nothing;
    if (outlines) {
        // Shapes counted by their sweep and outlines by their corners: the tracing the writer does would
        // take longer than both passes together.
        ShapeTally tally(format.filtersSpecks ? shapes.minimumArea : 0);
        SelectionShapes gathered(leavesUnitsOut(format, shapes) ? setup.grid : QSize(), shapes.minimumArea);
        BothSinks both(tally, gathered);
        SelectedBits bits(leavesUnitsOut(format, shapes) ? static_cast<PointSink&>(both) : tally, setup.grid);
        select(bits);
        if (leavesUnitsOut(format, shapes)) {
            leftOut = std::make_shared<LeftOutUnits>(setup.grid, unitPixels);
            bits.walk(gathered, *leftOut, nothing);
        }
        const OutlineTotals totals = bits.outlineTotals(tally.shapes());
        counts.points = tally.units();
        counts.shapes = totals.shapes;
        counts.bytes = outlineBytes(format, setup, totals);
        counts.outlines = totals.outlines;
        counts.corners = totals.corners;
    } else {
        CountingSink sink(setup.grid, greyDigits && !leavesUnitsOut(format, shapes));
        std::optional<std::int64_t> keptDigits;
        if (leavesUnitsOut(format, shapes)) {
            SelectionShapes shapesKept(setup.grid, shapes.minimumArea);
            GreyDigits allDigits;
            BothSinks both(shapesKept, allDigits);
            SelectedBits bits(greyDigits ? static_cast<PointSink&>(both) : shapesKept, setup.grid);
            select(bits);
            leftOut = std::make_shared<LeftOutUnits>(setup.grid, unitPixels);
            bits.walk(shapesKept, *leftOut, sink);
            if (greyDigits) {
                // All the selected units' digits less the left-out ones', read from the picture unit by
                // unit: a few reads against a second pass over every pixel.
                keptDigits =
                    allDigits.digits() - leftOutDigits(source, format.numbering, *leftOut, setup.grid);
            }
        } else {
            select(sink);
        }
        sink.finishAt(setup.grid.width());
        SelectionExtent extent = sink.extent();
        extent.greyDigits = keptDigits.value_or(extent.greyDigits);
        counts.points = extent.points;
        if (format.drawing) {
            counts.shapes = extent.shapes;
        }
        counts.bytes = ExportJob::fileBytes(source, format.format, extent, pixelMillimetres);
    }
    if (leftOut && !leftOut->empty()) {
        counts.leftOut = std::move(leftOut);
    }
    return counts;
}
