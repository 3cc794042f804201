#include "Form3.h"

#include "app/Forms.h"

Form3::Form3(Forms& forms, QWidget* parent) : PictureWindowForm(forms.shell(), parent), forms_(forms) {
    setCaption(QStringLiteral("低分辨率黑白图片"));
}
