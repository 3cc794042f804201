#pragma once
// Outlines put aside in an unnamed temporary file and read back in the order they were put, for a
// drawing whose later part repeats the vertices of its earlier part: the tracing runs once, and the
// outlines waiting take disk, not memory, however large the drawing. A spool that cannot be written
// says so, and its reader walks the shapes again instead.

#include "TracedShape.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

class CornerSpool {
public:
    CornerSpool();

    // Puts one shape aside, whole.
    void put(const TracedShape& shape);
    // False once anything put could not be kept: what was put is then lost.
    bool kept() const { return file_ != nullptr; }

    // After the last put: hands `shape` every shape put, in order. False, with nothing handed, if the
    // spool cannot be read from its start; a read failing later raises an error, the drawing unfinished.
    template <typename Shape> bool forEachShape(Shape&& shape);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    void putWords(const void* words, std::size_t count);
    bool takeWords(void* words, std::size_t count);
    void takeAll(void* words, std::size_t count);
    [[noreturn]] static void failRead();

    std::vector<char> buffer_; // the file's, kept until it is closed
    std::unique_ptr<std::FILE, Closer> file_;
};

template <typename Shape> bool CornerSpool::forEachShape(Shape&& shape) {
    if (!file_ || std::fflush(file_.get()) != 0 || std::fseek(file_.get(), 0, SEEK_SET) != 0) {
        return false;
    }
    TracedShape traced;
    for (;;) {
        std::int32_t outlines = 0;
        if (!takeWords(&outlines, 1)) {
            if (std::feof(file_.get()) == 0) {
                failRead();
            }
            return true;
        }
        traced.outlines.resize(static_cast<std::size_t>(outlines));
        for (Outline& outline : traced.outlines) {
            std::int32_t head[2]; // corners, and whether the outline is a hole
            takeAll(head, 2);
            outline.corners.resize(static_cast<std::size_t>(head[0]));
            outline.hole = head[1] != 0;
            takeAll(outline.corners.data(), 2 * outline.corners.size());
        }
        shape(static_cast<const TracedShape&>(traced));
    }
}
