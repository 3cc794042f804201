#pragma once
// Where the open dialog reports a picture it has opened: the program shows it and makes the next
// steps available.

#include "runtime/LoadPicture.h"

class OpenedPictureSink {
public:
    virtual ~OpenedPictureSink() = default;
    // The dialog is gone and the stage flags are cleared when this runs.
    virtual void pictureOpened(const DecodedPicture& opened) = 0;
};
