#pragma once
// Placeholder until this window is built.

#include "runtime/Form.h"

class Forms;

class Form2 : public Form {
    Q_OBJECT
public:
    Form2(Forms& forms, QWidget* parent);

private:
    Forms& forms_;
};
