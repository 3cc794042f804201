#pragma once
// Placeholder until this window is built.

#include "runtime/Form.h"

class Forms;

class Form4 : public Form {
    Q_OBJECT
public:
    Form4(Forms& forms, QWidget* parent);

private:
    Forms& forms_;
};
