#include "DxfSink.h"

#include <algorithm>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

// Handles of the fixed records. The block record of model space owns every rectangle.
constexpr std::string_view ModelSpaceRecord = "1F"sv;

// From the classes section (empty) to the start of the view table's one record.
constexpr std::string_view Tables = R"(  0
SECTION
  2
CLASSES
  0
ENDSEC
  0
SECTION
  2
TABLES
  0
TABLE
  2
VPORT
  5
8
330
0
100
AcDbSymbolTable
 70
1
  0
VPORT
  5
30
330
8
100
AcDbSymbolTableRecord
100
AcDbViewportTableRecord
  2
*Active
 70
0
 10
0
 20
0
 11
1
 21
1
)"sv;

// After the view's centre and size: the rest of the active view, then the other tables, the
// blocks of model and paper space, and the start of the entities.
constexpr std::string_view TablesAfterView = R"( 50
0
 51
0
 71
0
 72
100
 73
1
 74
3
 75
0
 76
0
 77
0
 78
0
281
0
 65
1
110
0
120
0
130
0
111
1
121
0
131
0
112
0
122
1
132
0
 79
0
146
0
  0
ENDTAB
  0
TABLE
  2
LTYPE
  5
5
330
0
100
AcDbSymbolTable
 70
3
  0
LTYPE
  5
14
330
5
100
AcDbSymbolTableRecord
100
AcDbLinetypeTableRecord
  2
ByBlock
 70
0
  3

 72
65
 73
0
 40
0
  0
LTYPE
  5
15
330
5
100
AcDbSymbolTableRecord
100
AcDbLinetypeTableRecord
  2
ByLayer
 70
0
  3

 72
65
 73
0
 40
0
  0
LTYPE
  5
16
330
5
100
AcDbSymbolTableRecord
100
AcDbLinetypeTableRecord
  2
Continuous
 70
0
  3
Solid line
 72
65
 73
0
 40
0
  0
ENDTAB
  0
TABLE
  2
LAYER
  5
2
330
0
100
AcDbSymbolTable
 70
2
  0
LAYER
  5
10
330
2
100
AcDbSymbolTableRecord
100
AcDbLayerTableRecord
  2
0
 70
0
 62
7
  6
Continuous
370
-3
  0
LAYER
  5
11
330
2
100
AcDbSymbolTableRecord
100
AcDbLayerTableRecord
  2
PIXELS
 70
0
 62
7
  6
Continuous
370
-3
  0
ENDTAB
  0
TABLE
  2
STYLE
  5
3
330
0
100
AcDbSymbolTable
 70
1
  0
STYLE
  5
12
330
3
100
AcDbSymbolTableRecord
100
AcDbTextStyleTableRecord
  2
Standard
 70
0
 40
0
 41
1
 50
0
 71
0
 42
2.5
  3
txt
  4

  0
ENDTAB
  0
TABLE
  2
VIEW
  5
6
330
0
100
AcDbSymbolTable
 70
0
  0
ENDTAB
  0
TABLE
  2
UCS
  5
7
330
0
100
AcDbSymbolTable
 70
0
  0
ENDTAB
  0
TABLE
  2
APPID
  5
9
330
0
100
AcDbSymbolTable
 70
1
  0
APPID
  5
13
330
9
100
AcDbSymbolTableRecord
100
AcDbRegAppTableRecord
  2
ACAD
 70
0
  0
ENDTAB
  0
TABLE
  2
DIMSTYLE
  5
A
330
0
100
AcDbSymbolTable
 70
1
100
AcDbDimStyleTable
 71
0
  0
DIMSTYLE
105
17
330
A
100
AcDbSymbolTableRecord
100
AcDbDimStyleTableRecord
  2
Standard
 70
0
  0
ENDTAB
  0
TABLE
  2
BLOCK_RECORD
  5
1
330
0
100
AcDbSymbolTable
 70
2
  0
BLOCK_RECORD
  5
1F
330
1
100
AcDbSymbolTableRecord
100
AcDbBlockTableRecord
  2
*Model_Space
340
22
  0
BLOCK_RECORD
  5
1B
330
1
100
AcDbSymbolTableRecord
100
AcDbBlockTableRecord
  2
*Paper_Space
340
1E
  0
ENDTAB
  0
ENDSEC
  0
SECTION
  2
BLOCKS
  0
BLOCK
  5
20
330
1F
100
AcDbEntity
  8
0
100
AcDbBlockBegin
  2
*Model_Space
 70
0
 10
0
 20
0
 30
0
  3
*Model_Space
  1

  0
ENDBLK
  5
21
330
1F
100
AcDbEntity
  8
0
100
AcDbBlockEnd
  0
BLOCK
  5
1C
330
1B
100
AcDbEntity
 67
1
  8
0
100
AcDbBlockBegin
  2
*Paper_Space
 70
0
 10
0
 20
0
 30
0
  3
*Paper_Space
  1

  0
ENDBLK
  5
1D
330
1B
100
AcDbEntity
 67
1
  8
0
100
AcDbBlockEnd
  0
ENDSEC
  0
SECTION
  2
ENTITIES
)"sv;

// The end of the entities and the objects: the root dictionary, the groups and the two layouts,
// each layout's plot settings alike.
constexpr std::string_view Objects =
    "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n"
    "  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n281\n1\n  3\nACAD_GROUP\n350\nD\n"
    "  3\nACAD_LAYOUT\n350\n1A\n"
    "  0\nDICTIONARY\n  5\nD\n330\nC\n100\nAcDbDictionary\n281\n1\n"
    "  0\nDICTIONARY\n  5\n1A\n330\nC\n100\nAcDbDictionary\n281\n1\n  3\nLayout1\n350\n1E\n  3\nModel\n350\n22\n"sv;
constexpr std::string_view PlotSettings =
    "100\nAcDbPlotSettings\n  1\n\n  4\n\n  6\n\n 40\n0\n 41\n0\n 42\n0\n 43\n0\n 44\n0\n 45\n0\n 46\n0\n"
    " 47\n0\n 48\n0\n 49\n0\n140\n0\n141\n0\n142\n1\n143\n1\n"sv;
constexpr std::string_view LayoutArea =
    " 10\n0\n 20\n0\n 11\n420\n 21\n297\n 12\n0\n 22\n0\n 32\n0\n 14\n0\n 24\n0\n 34\n0\n 15\n0\n"
    " 25\n0\n 35\n0\n146\n0\n 13\n0\n 23\n0\n 33\n0\n 16\n1\n 26\n0\n 36\n0\n 17\n0\n 27\n1\n 37\n0\n 76\n0\n"sv;
// Each layout: its start, then the plot settings, the settings' flags and its name, then the area,
// then its block record and what follows.
constexpr std::string_view Layouts[][3] = {
    {"  0\nLAYOUT\n  5\n1E\n330\n1A\n"sv,
     " 70\n0\n 72\n1\n 73\n0\n 74\n5\n  7\n\n 75\n16\n147\n1\n148\n0\n149\n0\n100\nAcDbLayout\n  1\nLayout1\n"
     " 70\n1\n 71\n1\n"sv,
     "330\n1B\n"sv},
    {"  0\nLAYOUT\n  5\n22\n330\n1A\n"sv,
     " 70\n1712\n 72\n1\n 73\n0\n 74\n0\n  7\n\n 75\n0\n147\n1\n148\n0\n149\n0\n100\nAcDbLayout\n  1\nModel\n"
     " 70\n1\n 71\n0\n"sv,
     "330\n1F\n  0\nENDSEC\n  0\nEOF\n"sv},
};

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// Everything up to the first rectangle, into a TextWriter or a TextCounter.
template <typename Out> void writeHead(Out& out, QSize grid, double unit) {
    const double width = grid.width() * unit;
    const double height = grid.height() * unit;
    // Every unit can be a rectangle of its own: the handles can never reach past this.
    const std::uint64_t handleSeed =
        DxfSink::FirstShapeHandle + static_cast<std::uint64_t>(std::max(grid.width(), 0)) *
                                        static_cast<std::uint64_t>(std::max(grid.height(), 0));
    out.text("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_1252\n"
             "  9\n$HANDSEED\n  5\n");
    out.hexadecimal(handleSeed);
    out.text("\n  9\n$INSUNITS\n 70\n4\n  9\n$MEASUREMENT\n 70\n1\n"
             "  9\n$EXTMIN\n 10\n0\n 20\n0\n 30\n0\n  9\n$EXTMAX\n 10\n");
    out.number(width);
    out.text("\n 20\n");
    out.number(height);
    out.text("\n 30\n0\n  9\n$LIMMIN\n 10\n0\n 20\n0\n  9\n$LIMMAX\n 10\n");
    out.number(width);
    out.text("\n 20\n");
    out.number(height);
    out.text("\n  0\nENDSEC\n");
    out.text(Tables);
    // The active view shows the picture's rectangle, centred; an empty picture, a square around the origin.
    out.text(" 12\n");
    out.number(width / 2);
    out.text("\n 22\n");
    out.number(height / 2);
    out.text("\n 13\n0\n 23\n0\n 14\n10\n 24\n10\n 15\n10\n 25\n10\n 16\n0\n 26\n0\n 36\n1\n 17\n0\n 27\n0\n"
             " 37\n0\n 40\n");
    out.number(height > 0 ? height : 1.0);
    out.text("\n 41\n");
    out.number(width > 0 && height > 0 ? width / height : 1.0);
    out.text("\n 42\n50\n 43\n0\n 44\n0\n");
    out.text(TablesAfterView);
}

// The end of the entities and the objects.
template <typename Out> void writeTail(Out& out) {
    out.text(Objects);
    for (const auto& layout : Layouts) {
        out.text(layout[0]);
        out.text(PlotSettings);
        out.text(layout[1]);
        out.text(LayoutArea);
        out.text(layout[2]);
    }
}

// A SOLID of the rectangle with these edges' coordinates; returns the end. Takes at most 512 bytes.
struct SolidEdges {
    std::string_view left, right, bottom, top;
};
char* storeSolid(char* at, std::uint64_t handle, const SolidEdges& edges) {
    at = put(at, "  0\nSOLID\n  5\n"sv);
    at = TextWriter::storeHexadecimal(at, handle);
    at = put(at, "\n330\n"sv);
    at = put(at, ModelSpaceRecord);
    at = put(at, "\n100\nAcDbEntity\n  8\nPIXELS\n100\nAcDbTrace\n 10\n"sv);
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

DxfSink::DxfSink(RecordFile& file, QSize grid, double unitMillimetres)
    : writer_(file), grid_(grid), unit_(unitMillimetres),
      rectangles_(static_cast<std::size_t>(std::max(grid.height(), 0))) {
    const auto most = static_cast<std::size_t>(std::max({grid.width(), grid.height(), 0})) + 1;
    coordinates_.resize(most * TextWriter::NumberBytes);
    coordinateBytes_.resize(most);
    for (std::size_t n = 0; n < most; ++n) {
        char* const at = coordinates_.data() + n * TextWriter::NumberBytes;
        coordinateBytes_[n] =
            static_cast<std::uint8_t>(TextWriter::storeNumber(at, static_cast<double>(n) * unit_) - at);
    }
    writeHead(writer_, grid_, unit_);
}

void DxfSink::endColumn(std::int32_t x) {
    rectangles_.endColumn(x, [this](const UnitRectangle& rectangle) { writeSolid(rectangle); });
}

void DxfSink::finish() {
    rectangles_.finish(grid_.width(), [this](const UnitRectangle& rectangle) { writeSolid(rectangle); });
    writeTail(writer_);
    writer_.flush();
}

void DxfSink::writeSolid(const UnitRectangle& rectangle) {
    char* const at = writer_.room(512);
    writer_.wrote(storeSolid(at, FirstShapeHandle + static_cast<std::uint64_t>(shapes_),
                             {coordinate(rectangle.left), coordinate(rectangle.right),
                              coordinate(grid_.height() - rectangle.bottom),
                              coordinate(grid_.height() - rectangle.top)}));
    ++shapes_;
}

std::int64_t DxfSink::fileBytes(QSize grid, double unitMillimetres, std::int64_t shapes) {
    TextCounter fixed;
    writeHead(fixed, grid, unitMillimetres);
    writeTail(fixed);
    // A rectangle's corners, each edge taking the length of a coordinate halfway across.
    const auto middle = [unitMillimetres](int units) {
        char at[TextWriter::NumberBytes];
        return std::string(at, TextWriter::storeNumber(at, (units / 2) * unitMillimetres));
    };
    const std::string x = middle(std::max(grid.width(), 0));
    const std::string y = middle(std::max(grid.height(), 0));
    char solid[512];
    const auto solidBytes = [&](std::uint64_t handle) {
        return static_cast<std::int64_t>(storeSolid(solid, handle, {x, x, y, y}) - solid);
    };
    // The handles' hexadecimal digits exactly: the solids of one count of digits at a time.
    std::int64_t bytes = fixed.bytes();
    for (std::uint64_t first = FirstShapeHandle,
                       end = FirstShapeHandle + static_cast<std::uint64_t>(std::max<std::int64_t>(shapes, 0));
         first < end; first *= 16) {
        const std::uint64_t last = std::min(end, first * 16);
        bytes += static_cast<std::int64_t>(last - first) * solidBytes(first);
    }
    return bytes;
}
