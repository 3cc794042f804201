#include "Form5.h"

#include "app/Forms.h"

Form5::Form5(Forms& forms, QWidget* parent) : Form(forms.shell(), parent), forms_(forms) {
    setWindowFlags(Qt::Dialog);
    setCaption(QStringLiteral("将图片转换成黑白色……"));
}
