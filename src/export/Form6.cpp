#include "Form6.h"

#include "app/Forms.h"

Form6::Form6(Forms& forms, QWidget* parent) : Form(forms.shell(), parent), forms_(forms) {
    setCaption(QStringLiteral("导出图像数据"));
}
