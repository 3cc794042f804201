#include "Form3.h"

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "convert/Form5.h"
#include "view/Form1.h"
#include "view/Form2.h"

Form3::Form3(Forms& forms, QWidget* parent)
    : PictureWindowForm(forms.shell(), parent,
                        {QSize(732, 460), RGB(255, 255, 255), RGB(0, 0, 0), QPoint(32, 16)}),
      forms_(forms) {
    setCaption(QStringLiteral("低分辨率黑白图片"));
}

void Form3::Form_Load() {
    setIcon(forms_.mdiForm1().Icon());
    setWindowState(1);
    // Loads the grey window first (with its own conversion) when it is not loaded yet.
    forms_.form2().setWindowState(1);
    setWidth(forms_.form1().Width());
    setHeight(forms_.form1().Height());
    Picture2->setLeft(forms_.form1().Picture2->Left());
    Picture2->setTop(forms_.form1().Picture2->Top());
    Picture2->setHeight(forms_.form1().Picture2->Height());
    Picture2->setWidth(forms_.form1().Picture2->Width());
    // Half-resolution units: each unit of the surface spans 2 x 2 of its pixels.
    Picture2->setScaleHeight(forms_.form1().Picture2->ScaleHeight() / 2.0f);
    Picture2->setScaleWidth(forms_.form1().Picture2->ScaleWidth() / 2.0f);
    forms_.form5().Timer1->setEnabled(true);
    forms_.form5().ShowModal();
}
