#pragma once
// Placeholder until this window is built.

#include "view/PictureWindowForm.h"

class Forms;

class Form1 : public PictureWindowForm {
    Q_OBJECT
public:
    Form1(Forms& forms, QWidget* parent);

private:
    Forms& forms_;
};
