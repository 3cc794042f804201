#pragma once
// Outlines put aside and read back in the order they were put, for a drawing whose later part repeats
// the vertices of its earlier part: the tracing runs once. The first megabytes stay in memory and the
// rest goes to an unnamed temporary file, so that the outlines waiting take disk, not memory, however
// large the drawing. A spool that cannot be written says so, and its reader walks the shapes again
// instead.

#include "TracedShape.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

class CornerSpool {
public:
    static constexpr std::size_t MemoryBytes = 16u << 20;
    explicit CornerSpool(std::size_t memoryBytes = MemoryBytes);

    // Puts one shape aside, whole.
    void put(const TracedShape& shape);
    // False once anything put could not be kept: what was put is then lost.
    bool kept() const { return !failed_; }

    // After the last put: hands `shape` every shape put, in order. False, with nothing handed, if the
    // spool cannot be read from its start; a read failing later raises an error, the drawing unfinished.
    template <typename Shape> bool forEachShape(Shape&& shape);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    void writeToFile(const std::int32_t* words, std::size_t count);
    void fail();
    // Whether everything put has been taken.
    bool atEnd() const;
    void takeAll(void* words, std::size_t count);
    [[noreturn]] static void failRead();

    std::size_t memoryWords_;
    std::vector<std::int32_t> memory_;        // what was put first
    std::size_t taken_ = 0;                   // of memory_
    std::vector<std::int32_t> staged_;        // a shape on its way to the file
    std::vector<char> buffer_;                // the file's, kept until it is closed
    std::unique_ptr<std::FILE, Closer> file_; // the rest, once memory_ is full
    bool failed_ = false;
};

template <typename Shape> bool CornerSpool::forEachShape(Shape&& shape) {
    if (failed_ || (file_ && (std::fflush(file_.get()) != 0 || std::fseek(file_.get(), 0, SEEK_SET) != 0))) {
        return false;
    }
    taken_ = 0;
    TracedShape traced;
    CornerLists spare;
    while (!atEnd()) {
        std::int32_t outlines = 0;
        takeAll(&outlines, 1);
        resizeKeepingLists(traced.outlines, static_cast<std::size_t>(outlines), spare);
        for (Outline& outline : traced.outlines) {
            std::int32_t head[2]; // corners, and whether the outline is a hole
            takeAll(head, 2);
            outline.corners.resize(static_cast<std::size_t>(head[0]));
            outline.hole = head[1] != 0;
            takeAll(outline.corners.data(), 2 * outline.corners.size());
        }
        shape(static_cast<const TracedShape&>(traced));
    }
    return true;
}
