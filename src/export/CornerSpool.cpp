#include "CornerSpool.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

constexpr std::size_t BufferBytes = 1 << 20;

} // namespace

CornerSpool::CornerSpool(std::size_t memoryBytes) : memoryWords_(memoryBytes / sizeof(std::int32_t)) {}

void CornerSpool::put(const TracedShape& shape) {
    static_assert(sizeof(OutlineCorner) == 2 * sizeof(std::int32_t));
    std::size_t words = 1;
    for (const Outline& outline : shape.outlines) {
        words += 2 + 2 * outline.corners.size();
    }
    if (!failed_ && !file_ && memory_.size() + words <= memoryWords_) {
        // Most shapes are a few corners: one copy each, not one per outline and part.
        memory_.reserve(memoryWords_);
        std::size_t at = memory_.size();
        memory_.resize(at + words);
        std::int32_t* const into = memory_.data();
        into[at++] = static_cast<std::int32_t>(shape.outlines.size());
        for (const Outline& outline : shape.outlines) {
            into[at++] = static_cast<std::int32_t>(outline.corners.size());
            into[at++] = outline.hole ? 1 : 0;
            std::memcpy(into + at, outline.corners.data(), outline.corners.size() * sizeof(OutlineCorner));
            at += 2 * outline.corners.size();
        }
        return;
    }
    const auto outlines = static_cast<std::int32_t>(shape.outlines.size());
    putWords(&outlines, 1);
    for (const Outline& outline : shape.outlines) {
        const std::int32_t head[2] = {static_cast<std::int32_t>(outline.corners.size()),
                                      outline.hole ? 1 : 0};
        putWords(head, 2);
        putWords(outline.corners.data(), 2 * outline.corners.size());
    }
}

void CornerSpool::putWords(const void* words, std::size_t count) {
    if (failed_ || count == 0) {
        return;
    }
    const auto* const first = static_cast<const std::int32_t*>(words);
    if (!file_ && memory_.size() + count <= memoryWords_) {
        // Room for all at once: pages not yet written take no memory.
        memory_.reserve(memoryWords_);
        memory_.insert(memory_.end(), first, first + count);
        return;
    }
    if (!file_) {
        buffer_.resize(BufferBytes);
        file_.reset(std::tmpfile());
        if (!file_) {
            fail();
            return;
        }
        std::setvbuf(file_.get(), buffer_.data(), _IOFBF, buffer_.size());
    }
    if (std::fwrite(first, sizeof(std::int32_t), count, file_.get()) != count) {
        fail();
    }
}

void CornerSpool::fail() {
    failed_ = true;
    file_.reset();
    memory_ = {};
}

bool CornerSpool::atEnd() const {
    if (taken_ < memory_.size()) {
        return false;
    }
    if (!file_) {
        return true;
    }
    const int next = std::fgetc(file_.get());
    if (next == EOF) {
        if (std::ferror(file_.get()) != 0) {
            failRead();
        }
        return true;
    }
    std::ungetc(next, file_.get());
    return false;
}

void CornerSpool::takeAll(void* words, std::size_t count) {
    auto* const into = static_cast<std::int32_t*>(words);
    const std::size_t fromMemory = std::min(count, memory_.size() - taken_);
    std::copy_n(memory_.data() + taken_, fromMemory, into);
    taken_ += fromMemory;
    const std::size_t fromFile = count - fromMemory;
    if (fromFile != 0 &&
        (!file_ || std::fread(into + fromMemory, sizeof(std::int32_t), fromFile, file_.get()) != fromFile)) {
        failRead();
    }
}

void CornerSpool::failRead() {
    throw std::runtime_error("the outlines put aside in a temporary file could not be read back");
}
