#pragma once
// The fixed text of a drawing around its shapes, made once per file: a format fills in the picture's
// size and the like, and a sink writes the shapes between the two parts.

#include <cstdint>
#include <string>

struct DrawingFrame {
    std::string head; // up to the first shape
    std::string tail; // after the last shape

    std::int64_t bytes() const { return static_cast<std::int64_t>(head.size() + tail.size()); }
};
