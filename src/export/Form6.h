#pragma once
// Placeholder until this window is built.

#include "runtime/Form.h"

class Forms;

class Form6 : public Form {
    Q_OBJECT
public:
    Form6(Forms& forms, QWidget* parent);
    void Form_Initialize() {}

private:
    Forms& forms_;
};
