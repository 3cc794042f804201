#pragma once
// A scroll bar as the layout routine sees it. Writes of Max and Value that change the value run the
// window's change handling synchronously, inside the write; out-of-range writes are refused.

#include "view/ScrollScale.h"

#include <cstdint>

class ScrollAxis {
public:
    virtual ~ScrollAxis() = default;

    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual std::int16_t Max() const = 0;
    virtual void setMax(int max) = 0;
    virtual std::int16_t LargeChange() const = 0;
    virtual void setLargeChange(int step) = 0;
    virtual std::int16_t Value() const = 0;
    virtual void setValue(int value) = 0;

    // How many pixels one scroll unit moves the picture; the change handling applies it.
    virtual void setScale(const ScrollScale& scale) = 0;
};
