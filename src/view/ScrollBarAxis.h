#pragma once
// A scroll bar seen through the layout routine's narrow interface, with the scale its window's
// change handling uses to turn the bar's value into the picture's offset. A bar is shown only while
// it is enabled, that is while its axis scrolls.

#include "view/ScrollAxis.h"

class ScrollBar;

class ScrollBarAxis : public ScrollAxis {
public:
    explicit ScrollBarAxis(ScrollBar& bar) : bar_(bar) {}

    bool Enabled() const override;
    void setEnabled(bool enabled) override;
    std::int16_t Max() const override;
    void setMax(int max) override;
    std::int16_t LargeChange() const override;
    void setLargeChange(int step) override;
    std::int16_t Value() const override;
    void setValue(int value) override;
    void setScale(const ScrollScale& scale) override { scale_ = scale; }
    const ScrollScale& scale() const { return scale_; }

    // The picture's offset for the bar's current value.
    float pictureOffset() const;

private:
    ScrollBar& bar_;
    ScrollScale scale_;
};
