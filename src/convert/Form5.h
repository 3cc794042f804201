#pragma once
// Placeholder until this window is built.

#include "runtime/Form.h"

class Forms;

class Form5 : public Form {
    Q_OBJECT
public:
    Form5(Forms& forms, QWidget* parent);

private:
    Forms& forms_;
};
