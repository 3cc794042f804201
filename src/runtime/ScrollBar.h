#pragma once
// A scroll bar with 16-bit Min, Max, Value, SmallChange and LargeChange. Its change handler runs
// synchronously inside the write or user action that changes Value, and only when the value
// really changes; dragging the thumb raises one change, on release. Unlike QScrollBar it refuses
// values out of range ("Invalid property value") instead of clamping them, and a large step of 0.

#include <QScrollBar>

#include <cstdint>
#include <functional>

class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    ScrollBar(Qt::Orientation orientation, QWidget* parent);

    std::int16_t Min() const { return static_cast<std::int16_t>(minimum()); }
    std::int16_t Max() const { return static_cast<std::int16_t>(maximum()); }
    std::int16_t Value() const { return static_cast<std::int16_t>(value()); }
    std::int16_t SmallChange() const { return static_cast<std::int16_t>(singleStep()); }
    std::int16_t LargeChange() const { return static_cast<std::int16_t>(pageStep()); }
    bool Enabled() const { return isEnabled(); }

    void setMin(int min);
    void setMax(int max);
    // Value; out of range refused. Named apart from QAbstractSlider's setValue slot, which clamps.
    void setBarValue(int value);
    void setSmallChange(int step);
    void setLargeChange(int step);
    void setEnabledState(bool enabled) { setEnabled(enabled); }

    // Geometry in the parent's units (pixels), as single-precision values.
    float Left() const { return static_cast<float>(x()); }
    float Top() const { return static_cast<float>(y()); }
    float Width() const { return static_cast<float>(width()); }
    float Height() const { return static_cast<float>(height()); }
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);

    // The change handler; the owning form routes it through its event dispatch.
    void onChange(std::function<void()> handler) { change_ = std::move(handler); }

private:
    std::function<void()> change_;
};
