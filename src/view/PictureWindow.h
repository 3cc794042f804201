#pragma once
// The narrow view of a picture window that the layout routine works on: the viewport (Picture1),
// the picture inside it (Picture2) and the two scroll bars.

#include "view/LayoutBox.h"
#include "view/ScrollAxis.h"

class PictureWindow {
public:
    virtual ~PictureWindow() = default;

    virtual LayoutBox& viewport() = 0;
    virtual LayoutBox& picture() = 0;
    virtual ScrollAxis& horizontal() = 0;
    virtual ScrollAxis& vertical() = 0;
};
