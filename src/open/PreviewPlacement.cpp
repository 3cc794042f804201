#include "PreviewPlacement.h"

PreviewPlacement::PreviewPlacement(float loaderWidth, float loaderHeight, float frameWidth,
                                   float frameHeight) {
    const double pictureRatio = static_cast<double>(loaderHeight) / loaderWidth;
    const double frameRatio = static_cast<double>(frameHeight) / frameWidth;
    if (loaderWidth <= frameWidth && loaderHeight <= frameHeight) {
        branch_ = Branch::Fits;
        width_ = loaderWidth;
        height_ = loaderHeight;
        left_ = static_cast<float>((static_cast<double>(frameWidth) - loaderWidth) / 2);
        top_ = static_cast<float>((static_cast<double>(frameHeight) - loaderHeight) / 2);
    } else if (pictureRatio >= frameRatio) {
        // Equal proportions land here too.
        branch_ = Branch::FillHeight;
        top_ = 0.0f;
        height_ = frameHeight;
        width_ = static_cast<float>(height_ / pictureRatio);
        left_ = static_cast<float>((static_cast<double>(frameWidth) - width_) / 2);
    } else {
        branch_ = Branch::FillWidth;
        left_ = 0.0f;
        width_ = frameWidth;
        height_ = static_cast<float>(frameWidth * pictureRatio);
        top_ = static_cast<float>((static_cast<double>(frameHeight) - height_) / 2);
    }
}
