#include "Form4.h"

#include "app/Forms.h"

Form4::Form4(Forms& forms, QWidget* parent) : Form(forms.shell(), parent), forms_(forms) {
    setWindowFlags(Qt::Dialog);
    setCaption(QStringLiteral("选择你要转换的图片"));
}
