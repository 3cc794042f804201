#include "CornerSpool.h"

#include <stdexcept>

namespace {

constexpr std::size_t BufferBytes = 1 << 20;

} // namespace

CornerSpool::CornerSpool() : buffer_(BufferBytes), file_(std::tmpfile()) {
    if (file_) {
        std::setvbuf(file_.get(), buffer_.data(), _IOFBF, buffer_.size());
    }
}

void CornerSpool::put(const TracedShape& shape) {
    const auto outlines = static_cast<std::int32_t>(shape.outlines.size());
    putWords(&outlines, 1);
    for (const Outline& outline : shape.outlines) {
        const std::int32_t head[2] = {static_cast<std::int32_t>(outline.corners.size()),
                                      outline.hole ? 1 : 0};
        putWords(head, 2);
        static_assert(sizeof(OutlineCorner) == 2 * sizeof(std::int32_t));
        putWords(outline.corners.data(), 2 * outline.corners.size());
    }
}

void CornerSpool::putWords(const void* words, std::size_t count) {
    if (file_ && count != 0 && std::fwrite(words, sizeof(std::int32_t), count, file_.get()) != count) {
        file_.reset();
    }
}

bool CornerSpool::takeWords(void* words, std::size_t count) {
    return count == 0 || std::fread(words, sizeof(std::int32_t), count, file_.get()) == count;
}

void CornerSpool::takeAll(void* words, std::size_t count) {
    if (!takeWords(words, count)) {
        failRead();
    }
}

void CornerSpool::failRead() {
    throw std::runtime_error("the outlines put aside in a temporary file could not be read back");
}
