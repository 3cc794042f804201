#pragma once
// What the progress dialog needs from the picture windows: the picture boxes a run reads and writes, and
// the result window it maximises when its run ends. Each window is loaded on first reference.

class PictureBox;

// The result of a run: the grey picture at the original resolution, or the half-resolution one.
enum class ConversionResult { Grey, Half };

class ConversionWindows {
public:
    virtual ~ConversionWindows() = default;
    virtual PictureBox& originalPicture() = 0;
    virtual PictureBox& resultPicture(ConversionResult result) = 0;
    virtual void maximiseResultWindow(ConversionResult result) = 0;
};
