#pragma once
// What the progress dialog needs from the picture windows: the picture boxes a run reads and writes, and
// the result window it maximises when its run ends. Each window is loaded on first reference.

#include "ConversionResult.h"

class PictureBox;

class ConversionWindows {
public:
    virtual ~ConversionWindows() = default;
    virtual PictureBox& originalPicture() = 0;
    virtual PictureBox& resultPicture(ConversionResult result) = 0;
    virtual void maximiseResultWindow(ConversionResult result) = 0;
};
