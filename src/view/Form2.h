#pragma once
// The window showing the grey picture at the original resolution ("原分辨率黑白图片"). Loading it
// prepares the windows and runs the grey conversion through the progress dialog.

#include "view/PictureWindowForm.h"

class Forms;

class Form2 : public PictureWindowForm {
    Q_OBJECT
public:
    Form2(Forms& forms, QWidget* parent);

    void Form_Load() override;

private:
    Forms& forms_;
};
