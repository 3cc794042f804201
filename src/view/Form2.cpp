#include "Form2.h"

#include "app/Forms.h"

Form2::Form2(Forms& forms, QWidget* parent) : PictureWindowForm(forms.shell(), parent), forms_(forms) {
    setCaption(QStringLiteral("原分辨率黑白图片"));
}
