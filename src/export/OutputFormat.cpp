#include "OutputFormat.h"

#include "CsvSink.h"
#include "DxfOutlineWriter.h"
#include "DxfSink.h"
#include "DxfSmoothWriter.h"
#include "RecordSink.h"
#include "SvgOutlineWriter.h"
#include "SvgSink.h"
#include "SvgSmoothWriter.h"

namespace {

std::unique_ptr<PointSink> recordSink(OutputFile& file, const SinkSetup& setup) {
    return std::make_unique<RecordSink>(file, setup.header, static_cast<std::size_t>(setup.grid.height()));
}

std::unique_ptr<PointSink> dxfSink(OutputFile& file, const SinkSetup& setup) {
    return std::make_unique<DxfSink>(file, setup.grid, setup.unitMillimetres);
}

std::unique_ptr<PointSink> svgSink(OutputFile& file, const SinkSetup& setup) {
    return std::make_unique<SvgSink>(file, setup.grid, setup.unitPixels, setup.unitMillimetres);
}

std::unique_ptr<PointSink> csvSink(OutputFile& file, const SinkSetup&) {
    return std::make_unique<CsvSink>(file);
}

template <typename Writer, typename... Settings>
OutlineTotals writeOutlines(OutputFile& file, const ShapeSource& shapes, Settings... settings) {
    Writer writer(file, settings...);
    writer.write(shapes);
    return writer.totals();
}

OutlineTotals dxfOutlines(OutputFile& file, const SinkSetup& setup, const ShapeSource& shapes) {
    return writeOutlines<DxfOutlineWriter>(file, shapes, setup.grid, setup.unitMillimetres);
}

OutlineTotals svgOutlines(OutputFile& file, const SinkSetup& setup, const ShapeSource& shapes) {
    return writeOutlines<SvgOutlineWriter>(file, shapes, setup.grid, setup.unitPixels, setup.unitMillimetres);
}

OutlineTotals dxfSmooth(OutputFile& file, const SinkSetup& setup, const ShapeSource& shapes) {
    return writeOutlines<DxfSmoothWriter>(file, shapes, setup.grid, setup.unitMillimetres);
}

OutlineTotals svgSmooth(OutputFile& file, const SinkSetup& setup, const ShapeSource& shapes) {
    return writeOutlines<SvgSmoothWriter>(file, shapes, setup.grid, setup.unitPixels, setup.unitMillimetres);
}

std::int64_t recordBytes(const SinkSetup&, const SelectionExtent& extent) {
    return PointRecord::Length * (extent.points + 1); // the header record, then one per point
}

std::int64_t dxfBytes(const SinkSetup& setup, const SelectionExtent& extent) {
    return DxfSink::fileBytes(setup.grid, setup.unitMillimetres, extent.shapes);
}

std::int64_t svgBytes(const SinkSetup& setup, const SelectionExtent& extent) {
    return SvgSink::fileBytes(setup.grid, setup.unitPixels, setup.unitMillimetres, extent.shapes);
}

std::int64_t csvBytes(const SinkSetup& setup, const SelectionExtent& extent) {
    return CsvSink::fileBytes(setup.grid, extent.points, extent.greyDigits);
}

constexpr FormatEntry Formats[] = {
    {OutputFormat::Records, "records", ".txt", "点数据文件 (*.txt)", false, false,
     PointNumbering::UnitsFromOne, PointRecord::Length, recordSink, recordBytes, nullptr, nullptr},
    {OutputFormat::Dxf, "dxf", ".dxf", "DXF 图形 (*.dxf)", true, true, PointNumbering::PixelsFromZero, 1,
     dxfSink, dxfBytes, dxfOutlines, dxfSmooth},
    {OutputFormat::Svg, "svg", ".svg", "SVG 图形 (*.svg)", true, true, PointNumbering::PixelsFromZero, 1,
     svgSink, svgBytes, svgOutlines, svgSmooth},
    {OutputFormat::Csv, "csv", ".csv", "CSV 表格 (*.csv)", false, true, PointNumbering::PixelsFromZero, 1,
     csvSink, csvBytes, nullptr, nullptr},
};

} // namespace

std::span<const FormatEntry> outputFormats() {
    return Formats;
}

const FormatEntry& formatEntry(OutputFormat format) {
    for (const FormatEntry& entry : Formats) {
        if (entry.format == format) {
            return entry;
        }
    }
    return Formats[0];
}

std::optional<OutputFormat> formatNamed(const QString& name) {
    for (const FormatEntry& entry : Formats) {
        if (name == QLatin1String(entry.name)) {
            return entry.format;
        }
    }
    return std::nullopt;
}

OutputFormat formatForFileName(const QString& fileName) {
    for (const FormatEntry& entry : Formats) {
        if (entry.format != OutputFormat::Records &&
            fileName.endsWith(QLatin1String(entry.suffix), Qt::CaseInsensitive)) {
            return entry.format;
        }
    }
    return OutputFormat::Records;
}
