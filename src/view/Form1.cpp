#include "Form1.h"

#include "app/Forms.h"

Form1::Form1(Forms& forms, QWidget* parent) : PictureWindowForm(forms.shell(), parent), forms_(forms) {
    setCaption(QStringLiteral("原始图片"));
}
