#include "DxfFrame.h"

#include "DxfTemplateText.h"
#include "TextWriter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

using namespace std::string_view_literals;

namespace {

// What a placeholder of the template stands for.
enum class Field : std::uint8_t {
    End, // no placeholder: the template's last piece of text
    Handle,
    HandleSeed,
    DrawingWidth,
    DrawingHeight,
    ViewCentreX,
    ViewCentreY,
    ViewHeight,
    ViewAspect,
    LayerCount,
    EachLayer,
    LayerName,
    LayerHandle,
    EndLayer,
    Entities,
};

struct NamedField {
    std::string_view name;
    Field field;
};

constexpr NamedField Fields[] = {
    {"HANDSEED"sv, Field::HandleSeed},
    {"DRAWING_WIDTH"sv, Field::DrawingWidth},
    {"DRAWING_HEIGHT"sv, Field::DrawingHeight},
    {"VIEW_CENTRE_X"sv, Field::ViewCentreX},
    {"VIEW_CENTRE_Y"sv, Field::ViewCentreY},
    {"VIEW_HEIGHT"sv, Field::ViewHeight},
    {"VIEW_ASPECT"sv, Field::ViewAspect},
    {"LAYER_COUNT"sv, Field::LayerCount},
    {"EACH_LAYER"sv, Field::EachLayer},
    {"LAYER_NAME"sv, Field::LayerName},
    {"LAYER_HANDLE"sv, Field::LayerHandle},
    {"END_LAYER"sv, Field::EndLayer},
    {"ENTITIES"sv, Field::Entities},
};

struct NamedHandle {
    std::string_view name;
    std::uint64_t handle;
};

// The fixed records' handles, all below DxfFrame::FirstEntityHandle.
constexpr NamedHandle Handles[] = {
    {"BLOCK_RECORD_TABLE"sv, 0x1},  {"LAYER_TABLE"sv, 0x2},         {"STYLE_TABLE"sv, 0x3},
    {"LTYPE_TABLE"sv, 0x5},         {"VIEW_TABLE"sv, 0x6},          {"UCS_TABLE"sv, 0x7},
    {"VPORT_TABLE"sv, 0x8},         {"APPID_TABLE"sv, 0x9},         {"DIMSTYLE_TABLE"sv, 0xA},
    {"ROOT_DICTIONARY"sv, 0xC},     {"GROUP_DICTIONARY"sv, 0xD},    {"STANDARD_STYLE"sv, 0x12},
    {"ACAD_APPID"sv, 0x13},         {"BYBLOCK_LTYPE"sv, 0x14},      {"BYLAYER_LTYPE"sv, 0x15},
    {"CONTINUOUS_LTYPE"sv, 0x16},   {"STANDARD_DIMSTYLE"sv, 0x17},  {"LAYOUT_DICTIONARY"sv, 0x1A},
    {"PAPER_SPACE_RECORD"sv, 0x1B}, {"PAPER_SPACE_BLOCK"sv, 0x1C},  {"PAPER_SPACE_END"sv, 0x1D},
    {"PAPER_LAYOUT"sv, 0x1E},       {"MODEL_SPACE_RECORD"sv, 0x1F}, {"MODEL_SPACE_BLOCK"sv, 0x20},
    {"MODEL_SPACE_END"sv, 0x21},    {"MODEL_LAYOUT"sv, 0x22},       {"ACTIVE_VPORT"sv, 0x30},
};

// The layer every drawing has, first in its table.
constexpr DxfLayer LayerZero{"0"sv, 0x10};

// The template's text before a placeholder, and the placeholder.
struct Piece {
    std::string_view text;
    Field field = Field::End;
    std::uint64_t handle = 0; // for Field::Handle
};

// The template without its leading comment lines.
constexpr std::string_view templateBody() {
    std::string_view text = DxfTemplateText;
    while (text.starts_with('#')) {
        text.remove_prefix(text.find('\n') + 1);
    }
    return text;
}

constexpr Piece placeholder(std::string_view name) {
    for (const NamedField& named : Fields) {
        if (named.name == name) {
            return {{}, named.field};
        }
    }
    for (const NamedHandle& named : Handles) {
        if (named.name == name) {
            return {{}, Field::Handle, named.handle};
        }
    }
    throw "the DXF template names an unknown placeholder";
}

// Markers stand alone on their line, which they take with them.
constexpr bool isMarker(Field field) {
    return field == Field::EachLayer || field == Field::EndLayer || field == Field::Entities;
}

constexpr std::size_t pieceCount(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '{')) + 1;
}

// The template split at its placeholders, at compile time: a mistyped name fails the build.
template <std::size_t Count> constexpr std::array<Piece, Count> split(std::string_view text) {
    std::array<Piece, Count> pieces{};
    for (Piece& piece : pieces) {
        const std::size_t open = text.find('{');
        if (open == std::string_view::npos) {
            piece.text = text;
            break;
        }
        const std::size_t close = text.find('}', open);
        if (close == std::string_view::npos) {
            throw "the DXF template has an unclosed placeholder";
        }
        piece = placeholder(text.substr(open + 1, close - open - 1));
        piece.text = text.substr(0, open);
        text.remove_prefix(close + 1);
        if (isMarker(piece.field)) {
            if (!text.starts_with('\n')) {
                throw "a DXF template marker does not stand alone on its line";
            }
            text.remove_prefix(1);
        }
    }
    return pieces;
}

constexpr auto Pieces = split<pieceCount(templateBody())>(templateBody());

void appendHexadecimal(std::string& out, std::uint64_t value) {
    char at[TextWriter::NumberBytes];
    out.append(at, TextWriter::storeHexadecimal(at, value));
}

void appendNumber(std::string& out, double value) {
    char at[TextWriter::NumberBytes];
    out.append(at, TextWriter::storeNumber(at, value));
}

} // namespace

DrawingFrame DxfFrame::frame(QSize grid, PixelSides unit, std::span<const DxfLayer> layers,
                             std::uint64_t entities) {
    const double width = grid.width() * unit.x;
    const double height = grid.height() * unit.y;
    std::vector<DxfLayer> allLayers{LayerZero};
    allLayers.insert(allLayers.end(), layers.begin(), layers.end());
    DrawingFrame frame;
    std::string* out = &frame.head;
    std::size_t eachLayer = 0; // the piece that starts a layer's record
    std::size_t layer = 0;
    for (std::size_t at = 0; at < Pieces.size(); ++at) {
        const Piece& piece = Pieces[at];
        out->append(piece.text);
        switch (piece.field) {
        case Field::End:
            break;
        case Field::Handle:
            appendHexadecimal(*out, piece.handle);
            break;
        case Field::HandleSeed:
            appendHexadecimal(*out, FirstEntityHandle + entities);
            break;
        case Field::DrawingWidth:
            appendNumber(*out, width);
            break;
        case Field::DrawingHeight:
            appendNumber(*out, height);
            break;
        // The active view shows the picture's rectangle, centred; an empty picture, a square around the
        // origin.
        case Field::ViewCentreX:
            appendNumber(*out, width / 2);
            break;
        case Field::ViewCentreY:
            appendNumber(*out, height / 2);
            break;
        case Field::ViewHeight:
            appendNumber(*out, height > 0 ? height : 1.0);
            break;
        case Field::ViewAspect:
            appendNumber(*out, width > 0 && height > 0 ? width / height : 1.0);
            break;
        case Field::LayerCount:
            out->append(std::to_string(allLayers.size()));
            break;
        case Field::EachLayer:
            eachLayer = at;
            break;
        case Field::LayerName:
            out->append(allLayers[layer].name);
            break;
        case Field::LayerHandle:
            appendHexadecimal(*out, allLayers[layer].handle);
            break;
        case Field::EndLayer:
            if (++layer < allLayers.size()) {
                at = eachLayer;
            }
            break;
        case Field::Entities:
            out = &frame.tail;
            break;
        }
    }
    return frame;
}

std::string_view DxfFrame::entityOwner() {
    static const std::string owner = [] {
        std::string text;
        appendHexadecimal(text, placeholder("MODEL_SPACE_RECORD"sv).handle);
        return text;
    }();
    return owner;
}

std::int64_t DxfFrame::handleDigits(std::int64_t entities) {
    const std::uint64_t end =
        FirstEntityHandle + static_cast<std::uint64_t>(std::max<std::int64_t>(entities, 0));
    std::int64_t digits = 0;
    // The handles of one count of digits at a time.
    for (std::uint64_t from = FirstEntityHandle; from < end;) {
        const int width = (std::bit_width(from) + 3) / 4;
        const std::uint64_t to = width >= 16 ? end : std::min(end, std::uint64_t{1} << (4 * width));
        digits += static_cast<std::int64_t>(to - from) * width;
        from = to;
    }
    return digits;
}
