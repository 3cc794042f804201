#pragma once
// The window showing the picture as loaded from file ("原始图片").

#include "view/PictureWindowForm.h"

class Form1 : public PictureWindowForm {
    Q_OBJECT
public:
    Form1(Shell& shell, QWidget* parent);

    void Form_Load() override;
};
