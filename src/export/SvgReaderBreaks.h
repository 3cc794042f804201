#pragma once
// Breaks between the paths of a large SVG picture for the XML readers that hold only so much of their
// input: libxml2 without its "huge" option (rsvg-convert's reader among them) refuses a document, as
// "Huge input lookup", once 10,000,000 bytes have passed since it last dropped what it had read, and
// it drops them only where fewer than 500 bytes remain read ahead, so a picture of many paths may or
// may not pass depending on where its reads end. It reads 4,000 bytes at a time, and one read ends
// inside any comment longer than that, where it drops everything before: such a comment goes between
// two paths before the bytes since the last one reach the limit. Pictures smaller than that get none.

#include "TextWriter.h"

#include <cstdint>
#include <string_view>

class SvgReaderBreaks {
public:
    // The bytes a reader may pass between two breaks.
    static constexpr std::int64_t ReaderLimit = 10'000'000;
    static std::string_view text();
    // The bytes of paths that may come between two breaks, with room for the reader's own lookback.
    static std::int64_t span() { return ReaderLimit - 2 * static_cast<std::int64_t>(text().size()); }

    // Whether a break must come before a path, or a shape added to an open path, of at most `bytes`.
    bool due(const TextWriter& writer, std::int64_t bytes) const {
        return writer.written() - since_ + bytes > span();
    }
    // Writes a break; no path may be open.
    void write(TextWriter& writer);

    // The bytes of the breaks in a picture of `pathBytes`, about: for the size estimates.
    static std::int64_t bytesAmong(std::int64_t pathBytes);

private:
    std::int64_t since_ = 0; // the end of the last break, or the file's start
};
