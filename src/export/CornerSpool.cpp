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
    if (failed_) {
        return;
    }
    std::size_t words = 1;
    for (const Outline& outline : shape.outlines) {
        words += 2 + 2 * outline.corners.size();
    }
    // Into memory while the shape fits there, else through the staging list into the file; one copy a
    // shape either way, as most shapes are a few corners.
    const bool inMemory = !file_ && memory_.size() + words <= memoryWords_;
    std::vector<std::int32_t>& list = inMemory ? memory_ : staged_;
    if (inMemory) {
        memory_.reserve(memoryWords_); // pages not yet written take no memory
    } else {
        staged_.clear();
    }
    std::size_t at = list.size();
    list.resize(at + words);
    std::int32_t* const into = list.data();
    into[at++] = static_cast<std::int32_t>(shape.outlines.size());
    for (const Outline& outline : shape.outlines) {
        into[at++] = static_cast<std::int32_t>(outline.corners.size());
        into[at++] = outline.hole ? 1 : 0;
        std::memcpy(into + at, outline.corners.data(), outline.corners.size() * sizeof(OutlineCorner));
        at += 2 * outline.corners.size();
    }
    if (!inMemory) {
        writeToFile(staged_.data(), words);
    }
}

void CornerSpool::writeToFile(const std::int32_t* words, std::size_t count) {
    if (!file_) {
        buffer_.resize(BufferBytes);
        file_.reset(std::tmpfile());
        if (!file_) {
            fail();
            return;
        }
        std::setvbuf(file_.get(), buffer_.data(), _IOFBF, buffer_.size());
    }
    if (std::fwrite(words, sizeof(std::int32_t), count, file_.get()) != count) {
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
