#include "Form2.h"

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "convert/Form5.h"
#include "view/Form1.h"

Form2::Form2(Forms& forms, QWidget* parent)
    : PictureWindowForm(forms.shell(), parent,
                        {QSize(733, 475), RGB(255, 255, 255), RGB(0, 0, 0), QPoint(16, 8)}),
      forms_(forms) {
    setCaption(QStringLiteral("原分辨率黑白图片"));
}

void Form2::Form_Load() {
    setIcon(forms_.mdiForm1().Icon());
    forms_.form1().setWindowState(1);
    setWindowState(2);
    setWidth(forms_.form1().Width());
    setHeight(forms_.form1().Height());
    // The grey surface takes the opened picture's place and pixel size.
    Picture2->setLeft(forms_.form1().Picture2->Left());
    Picture2->setTop(forms_.form1().Picture2->Top());
    Picture2->setHeight(forms_.form1().Picture2->Height());
    Picture2->setWidth(forms_.form1().Picture2->Width());
    // Waits here while the dialog's timer runs the conversion; the dialog is created armed.
    forms_.form5().ShowModal();
}
