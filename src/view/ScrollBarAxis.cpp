#include "ScrollBarAxis.h"

#include "runtime/ScrollBar.h"

bool ScrollBarAxis::Enabled() const {
    return bar_.Enabled();
}
void ScrollBarAxis::setEnabled(bool enabled) {
    bar_.setEnabledState(enabled);
    bar_.setVisible(enabled); // a disabled bar would still draw a thumb where nothing scrolls
}
std::int16_t ScrollBarAxis::Max() const {
    return bar_.Max();
}
void ScrollBarAxis::setMax(int max) {
    bar_.setMax(max);
}
std::int16_t ScrollBarAxis::LargeChange() const {
    return bar_.LargeChange();
}
void ScrollBarAxis::setLargeChange(int step) {
    bar_.setLargeChange(step);
}
std::int16_t ScrollBarAxis::Value() const {
    return bar_.Value();
}
void ScrollBarAxis::setValue(int value) {
    bar_.setBarValue(value);
}
float ScrollBarAxis::pictureOffset() const {
    return scale_.offsetAt(bar_.Value());
}
