#pragma once
// The layout routine shared by the picture windows: centres the picture on an axis where it fits
// and disables that scroll bar; where it is larger, sets the bar up for the excess with its thumb
// in the middle, and the bar's change handling shows the middle of the picture.

class PictureWindow;

void FitPictureInViewport(PictureWindow& window);
