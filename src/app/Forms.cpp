#include "Forms.h"

#include "app/MDIForm1.h"
#include "convert/Form5.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

template <typename FormType> FormType* ifLoaded(const QPointer<FormType>& slot) {
    return slot && !slot->isUnloaded() ? slot.data() : nullptr;
}

} // namespace

Forms::Forms(Shell& shell) : shell_(shell) {}

Forms::~Forms() = default;

MDIForm1& Forms::mdiForm1() {
    if (!mdiForm1_) {
        mdiForm1_ = std::make_unique<MDIForm1>(*this);
        mdiForm1_->onEvent([this] { mdiForm1_->MDIForm_Load(); });
    }
    return *mdiForm1_;
}

template <typename FormType> FormType& Forms::reference(QPointer<FormType>& slot, bool childOfMainWindow) {
    if (FormType* loaded = ifLoaded(slot)) {
        return *loaded;
    }
    MDIForm1& main = mdiForm1();
    FormType* form = nullptr;
    if (childOfMainWindow) {
        auto* subWindow = new QMdiSubWindow(main.mdiArea());
        subWindow->setAttribute(Qt::WA_DeleteOnClose);
        form = new FormType(*this, subWindow);
        subWindow->setWidget(form);
        main.mdiArea()->addSubWindow(subWindow);
    } else {
        form = new FormType(*this, &main);
    }
    // Loaded from here on: references made while the load handler runs reach this window.
    slot = form;
    form->onEvent([form] { form->Form_Load(); });
    if (childOfMainWindow && !form->isUnloaded()) {
        form->Show(); // children of the main window appear once loaded
    }
    return *form;
}

Form1& Forms::form1() {
    return reference(form1_, true);
}
Form2& Forms::form2() {
    return reference(form2_, true);
}
Form3& Forms::form3() {
    return reference(form3_, true);
}
Form4& Forms::form4() {
    return reference(form4_, false);
}
Form5& Forms::form5() {
    return reference(form5_, false);
}

Form6& Forms::form6() {
    const bool created = !ifLoaded(form6_);
    Form6& form = reference(form6_, true);
    if (created && !form6Initialized_) {
        form6Initialized_ = true;
        form.onEvent([&form] { form.Form_Initialize(); });
    }
    return form;
}

Form1* Forms::loadedForm1() const {
    return ifLoaded(form1_);
}
Form2* Forms::loadedForm2() const {
    return ifLoaded(form2_);
}
Form3* Forms::loadedForm3() const {
    return ifLoaded(form3_);
}
Form4* Forms::loadedForm4() const {
    return ifLoaded(form4_);
}
Form5* Forms::loadedForm5() const {
    return ifLoaded(form5_);
}
Form6* Forms::loadedForm6() const {
    return ifLoaded(form6_);
}
