#pragma once
// The window showing the half-resolution grey picture ("低分辨率黑白图片"). Loading it prepares the
// windows and runs the reduction through the progress dialog.

#include "view/PictureWindowForm.h"
#include "view/ResultWindowSurroundings.h"

class Form3 : public PictureWindowForm {
    Q_OBJECT
public:
    Form3(Shell& shell, ResultWindowSurroundings& surroundings, QWidget* parent);

    void Form_Load() override;

private:
    ResultWindowSurroundings& surroundings_;
};
