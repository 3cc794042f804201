#pragma once
// Placeholder until this window is built.

#include "runtime/Form.h"

class Forms;

class Form1 : public Form {
    Q_OBJECT
public:
    Form1(Forms& forms, QWidget* parent);

private:
    Forms& forms_;
};
