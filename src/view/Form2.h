#pragma once
// The window showing the grey picture at the original resolution ("原分辨率黑白图片"). Loading it
// prepares the windows and runs the grey conversion through the progress dialog.

#include "view/PictureWindowForm.h"
#include "view/ResultWindowSurroundings.h"

class Form2 : public PictureWindowForm {
    Q_OBJECT
public:
    Form2(Shell& shell, ResultWindowSurroundings& surroundings, QWidget* parent);

    void Form_Load() override;

private:
    ResultWindowSurroundings& surroundings_;
};
