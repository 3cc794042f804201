#include "SvgReaderBreaks.h"

#include <algorithm>
#include <string>

namespace {

// Longer than a read, whatever bytes come before it.
constexpr std::size_t BreakPadding = 4096;

} // namespace

std::string_view SvgReaderBreaks::text() {
    static const std::string comment =
        "<!-- room for XML readers to drop what they have read" + std::string(BreakPadding, ' ') + "-->\n";
    return comment;
}

void SvgReaderBreaks::write(TextWriter& writer) {
    writer.text(text());
    since_ = writer.written();
}

std::int64_t SvgReaderBreaks::bytesAmong(std::int64_t pathBytes) {
    return std::max<std::int64_t>(pathBytes, 0) / span() * static_cast<std::int64_t>(text().size());
}
