#pragma once
// The paths of an SVG picture that holds whole shapes per path: the next shape starts a new path once the
// open one holds so many points (readers refuse attributes of many megabytes; a shape with more fills a
// path of its own, as its holes are holes only within it), and SvgReaderBreaks go between two paths.

#include "SvgReaderBreaks.h"
#include "TextWriter.h"

#include <cstdint>

class SvgShapePaths {
public:
    explicit SvgShapePaths(std::int64_t pathPoints) : pathPoints_(pathPoints) {}

    // Before a shape of `points` whose subpaths take at most `bytes`: the open path closed where the
    // shape does not belong in it, a break where one is due, and a path opened.
    void beginShape(TextWriter& writer, std::int64_t points, std::int64_t bytes);
    // After the last shape.
    void end(TextWriter& writer);

private:
    std::int64_t pathPoints_;
    std::int64_t inPath_ = 0; // points in the open path; 0: no path open
    SvgReaderBreaks breaks_;
};
