#pragma once
// What the grey and half-resolution windows need while they load: the original-picture and grey windows
// (each loaded on first reference) and the progress dialog that makes their picture.

class Form1;
class Form2;

class ResultWindowSurroundings {
public:
    virtual ~ResultWindowSurroundings() = default;
    virtual Form1& originalWindow() = 0;
    virtual Form2& greyWindow() = 0;
    // Shows the progress dialog modally, its timer armed; returns when the dialog is gone, true when its
    // run finished (false when it was cancelled or closed).
    virtual bool runProgressDialog() = 0;
};
