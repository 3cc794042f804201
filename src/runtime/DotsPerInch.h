#pragma once
// A resolution in dots per inch along x and y, as a picture's file states it: the two differ for a
// picture of rectangular pixels.

struct DotsPerInch {
    double x = 0;
    double y = 0;
};
