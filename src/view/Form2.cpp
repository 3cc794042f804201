#include "Form2.h"

#include "app/Forms.h"

Form2::Form2(Forms& forms, QWidget* parent)
    : PictureWindowForm(forms.shell(), parent,
                        {QSize(733, 475), RGB(255, 255, 255), RGB(0, 0, 0), QPoint(16, 8)}),
      forms_(forms) {
    setCaption(QStringLiteral("原分辨率黑白图片"));
}
