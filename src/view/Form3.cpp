#include "Form3.h"

#include "app/Forms.h"

Form3::Form3(Forms& forms, QWidget* parent)
    : PictureWindowForm(forms.shell(), parent,
                        {QSize(732, 460), RGB(255, 255, 255), RGB(0, 0, 0), QPoint(32, 16)}),
      forms_(forms) {
    setCaption(QStringLiteral("低分辨率黑白图片"));
}
