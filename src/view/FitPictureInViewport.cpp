#include "FitPictureInViewport.h"

#include "view/PictureWindow.h"

#include "runtime/Numbers.h"

#include <algorithm>

namespace {

// Half the scroll bar's Max as read back, rounded with ties to even.
std::int16_t halfOfMax(const ScrollAxis& axis) {
    return toInteger16(axis.Max() / 2.0);
}

void scrollToMiddle(ScrollAxis& axis, float excess) {
    const ScrollScale scale = ScrollScale::forExcess(excess);
    axis.setEnabled(true);
    axis.setScale(scale);
    axis.setMax(scale.maxUnits());
    // An excess of one pixel gives a half of 0, which no scroll bar takes as its large step.
    axis.setLargeChange(std::max<int>(1, halfOfMax(axis)));
    axis.setValue(halfOfMax(axis));
}

} // namespace

void FitPictureInViewport(PictureWindow& window) {
    LayoutBox& viewport = window.viewport();
    LayoutBox& picture = window.picture();
    ScrollAxis& horizontal = window.horizontal();
    ScrollAxis& vertical = window.vertical();
    const bool taller = picture.Height() > viewport.Height();
    const bool wider = picture.Width() > viewport.Width();
    // The writes run in this order because the bars' change handling moves the picture in between.
    if (taller && wider) {
        picture.setLeft(0.0f);
        picture.setTop(0.0f);
        scrollToMiddle(horizontal, picture.Width() - viewport.Width());
        scrollToMiddle(vertical, picture.Height() - viewport.Height());
    } else if (taller) {
        picture.setLeft(0.0f);
        picture.setTop(0.0f);
        horizontal.setEnabled(false);
        scrollToMiddle(vertical, picture.Height() - viewport.Height());
        picture.setLeft((viewport.Width() - picture.Width()) / 2.0f);
    } else if (wider) {
        picture.setLeft(0.0f);
        picture.setTop(0.0f);
        vertical.setEnabled(false);
        scrollToMiddle(horizontal, picture.Width() - viewport.Width());
        picture.setTop((viewport.Height() - picture.Height()) / 2.0f);
    } else {
        vertical.setEnabled(false);
        horizontal.setEnabled(false);
        picture.setLeft((viewport.Width() - picture.Width()) / 2.0f);
        picture.setTop((viewport.Height() - picture.Height()) / 2.0f);
    }
}
