#pragma once
// The window showing the picture as loaded from file ("原始图片").

#include "view/PictureWindowForm.h"

class Forms;

class Form1 : public PictureWindowForm {
    Q_OBJECT
public:
    Form1(Forms& forms, QWidget* parent);

    void Form_Load() override;

private:
    Forms& forms_;
};
