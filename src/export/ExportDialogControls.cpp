#include "ExportDialogControls.h"

#include "Form6.h"
#include "runtime/Numbers.h"
#include "runtime/ScrollBar.h"

namespace {

const QString ProgressCaption = QStringLiteral("导出图像数据---已经完成%1%");

} // namespace

ExportDialogControls::ExportDialogControls(Form6& form) : form_(&form) {
    read();
}

void ExportDialogControls::showProgress(double percent) {
    const QString caption = ProgressCaption.arg(decimalText(percent));
    if (form_ && form_->Caption() != caption) {
        form_->setCaption(caption);
    }
}

void ExportDialogControls::yield() {
    columnYield_();
    read();
}

void ExportDialogControls::read() {
    if (!form_) {
        return;
    }
    polarity_ = form_->chosenPolarity();
    threshold_ = form_->HScroll1->Value();
}
