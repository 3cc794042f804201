#pragma once
// Where the open dialog reports a picture it has opened: the program shows it and makes the next
// steps available.

class OpenedPictureSink {
public:
    virtual ~OpenedPictureSink() = default;
    // The dialog is gone and the document holds the new picture when this runs.
    virtual void pictureOpened() = 0;
};
