#pragma once
// The conversion progress dialog (being built).

#include "runtime/Form.h"
#include "runtime/Timer.h"

class Forms;

class Form5 : public Form {
    Q_OBJECT
public:
    Form5(Forms& forms, QWidget* parent);

    Timer* const Timer1;

private:
    Forms& forms_;
};
