#pragma once
// Placeholder until this window is built.

#include "view/PictureWindowForm.h"

class Forms;

class Form3 : public PictureWindowForm {
    Q_OBJECT
public:
    Form3(Forms& forms, QWidget* parent);

private:
    Forms& forms_;
};
