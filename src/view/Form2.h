#pragma once
// Placeholder until this window is built.

#include "view/PictureWindowForm.h"

class Forms;

class Form2 : public PictureWindowForm {
    Q_OBJECT
public:
    Form2(Forms& forms, QWidget* parent);

private:
    Forms& forms_;
};
