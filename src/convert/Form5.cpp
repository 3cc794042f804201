#include "Form5.h"

#include "app/Forms.h"

Form5::Form5(Forms& forms, QWidget* parent)
    : Form(forms.shell(), parent), Timer1(new Timer(this, 1000, true)), forms_(forms) {
    setWindowFlags(Qt::Dialog);
    setCaption(QStringLiteral("将图片转换成黑白色……"));
}
