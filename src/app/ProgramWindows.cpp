#include "ProgramWindows.h"

#include "app/EscapeUnloads.h"
#include "app/MDIForm1.h"
#include "app/MainStatusBar.h"
#include "convert/Form5.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "state/Module2.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <optional>
#include <type_traits>

namespace {

template <typename FormType> FormType* ifLoaded(const QPointer<FormType>& slot) {
    return slot && !slot->isUnloaded() ? slot.data() : nullptr;
}

} // namespace

ProgramWindows::ProgramWindows(Shell& shell) : shell_(shell) {}

ProgramWindows::~ProgramWindows() = default;

MDIForm1& ProgramWindows::mdiForm1() {
    if (!mdiForm1_) {
        mdiForm1_ = std::make_unique<MDIForm1>(*this);
        mdiForm1_->onEvent([this] { mdiForm1_->MDIForm_Load(); });
    }
    return *mdiForm1_;
}

template <typename FormType, typename Create>
FormType& ProgramWindows::reference(QPointer<FormType>& slot, bool childOfMainWindow, Create create) {
    if (FormType* loaded = ifLoaded(slot)) {
        return *loaded;
    }
    MDIForm1& main = mdiForm1();
    FormType* form = nullptr;
    if (childOfMainWindow) {
        auto* subWindow = new QMdiSubWindow(main.mdiArea());
        subWindow->setAttribute(Qt::WA_DeleteOnClose);
        form = create(subWindow);
        subWindow->setWidget(form);
        main.mdiArea()->addSubWindow(subWindow);
    } else {
        form = create(&main);
    }
    form->setIcon(main.Icon()); // every window wears the program's icon
    main.status()->followProgress(*form);
    discardWithWindow(*form);
    // Loaded from here on: references made while the load handler runs reach this window.
    slot = form;
    form->onEvent([form] { form->Form_Load(); });
    if (childOfMainWindow && !form->isUnloaded()) {
        placeAsLastClosed(*form);
        form->Show(); // children of the main window appear once loaded
        if constexpr (!std::is_same_v<FormType, Form6>) {
            keepDialogInFront();
        }
    }
    return *form;
}

// A result window comes back where and how it was closed, not maximised over everything again.
template <typename FormType> void ProgramWindows::placeAsLastClosed(FormType& form) {
    if constexpr (std::is_same_v<FormType, Form2> || std::is_same_v<FormType, Form3>) {
        std::optional<Form::Placement>& placement =
            closedPlacements_[std::is_same_v<FormType, Form2> ? 0 : 1];
        if (placement) {
            form.setPlacement(*placement);
        }
        QObject::connect(&form, &Form::unloaded, &form,
                         [&form, &placement] { placement = form.placement(); });
    }
}

void ProgramWindows::keepDialogInFront() {
    if (Form6* dialog = loadedForm6(); dialog && dialog->frame()->isVisible()) {
        dialog->Show();
    }
}

// A result window's picture goes with the window: the document no longer has it.
template <typename FormType> void ProgramWindows::discardWithWindow(FormType& form) {
    if constexpr (std::is_same_v<FormType, Form2> || std::is_same_v<FormType, Form3>) {
        constexpr ConversionResult result =
            std::is_same_v<FormType, Form2> ? ConversionResult::Grey : ConversionResult::Half;
        QObject::connect(&form, &Form::unloaded, &form, [] { Module2::document().discard(result); });
    }
}

Form1& ProgramWindows::form1() {
    const bool created = !ifLoaded(form1_);
    Form1& form = reference(form1_, true, [this](QWidget* parent) { return new Form1(shell_, parent); });
    if (created && Module2::document().isOpen()) {
        form.Picture2->setPicture(Module2::document().picture());
        FitPictureInViewport(form);
    }
    return form;
}

Form1& ProgramWindows::showOpenedPicture() {
    // The old picture's results go with it: the menu items convert the new picture.
    for (PictureWindowForm* result :
         {static_cast<PictureWindowForm*>(loadedForm2()), static_cast<PictureWindowForm*>(loadedForm3())}) {
        if (result) {
            result->Unload();
        }
    }
    if (Form1* shown = loadedForm1()) {
        shown->Picture2->setPicture(Module2::document().picture());
    }
    Form1& form = form1();
    form.Show(); // a closed one comes back as it was closed
    if (form.WindowStateValue() == 1) {
        form.setWindowStateValue(form.unminimisedState()); // minimised by a conversion of the last picture
    }
    FitPictureInViewport(form);
    keepDialogInFront();
    return form;
}

Form2& ProgramWindows::form2() {
    return reference(form2_, true, [this](QWidget* parent) { return new Form2(shell_, *this, parent); });
}
Form3& ProgramWindows::form3() {
    return reference(form3_, true, [this](QWidget* parent) { return new Form3(shell_, *this, parent); });
}
Form4& ProgramWindows::form4() {
    return reference(form4_, false,
                     [this](QWidget* parent) { return new Form4(shell_, mdiForm1(), parent); });
}
Form5& ProgramWindows::form5() {
    return reference(form5_, false, [this](QWidget* parent) { return new Form5(shell_, *this, parent); });
}

Form6& ProgramWindows::form6() {
    const bool created = !ifLoaded(form6_);
    Form6& form = reference(form6_, true, [this](QWidget* parent) {
        return new Form6(shell_, exportSources_, Module2::document(), parent);
    });
    // Every opening starts alike: ramp drawn, threshold 122, source from the stage flags, centred.
    if (created) {
        form.onEvent([&form] { form.Form_Initialize(); });
        new EscapeUnloads(form);
    }
    return form;
}

void ProgramWindows::showConvertedGrey() {
    if (Form2* grey = loadedForm2(); grey && Module2::StageDone(1) != BooleanTrue) {
        grey->Unload();
    }
    form2().Show();
    keepDialogInFront();
}

void ProgramWindows::showConvertedHalf() {
    if (Form3* half = loadedForm3(); half && Module2::StageDone(2) != BooleanTrue) {
        half->Unload();
    }
    // Without a finished grey picture the reduction would halve a black or partial one: make it first.
    if (!loadedForm3() && (!loadedForm2() || Module2::StageDone(1) != BooleanTrue)) {
        Module2::setConvertMode(1);
        showConvertedGrey();
        Module2::setConvertMode(2);
        if (Module2::StageDone(1) != BooleanTrue) {
            return; // cancelled: nothing to reduce
        }
    }
    form3().Show();
    keepDialogInFront();
}

Form1* ProgramWindows::loadedForm1() const {
    return ifLoaded(form1_);
}
Form2* ProgramWindows::loadedForm2() const {
    return ifLoaded(form2_);
}
Form3* ProgramWindows::loadedForm3() const {
    return ifLoaded(form3_);
}
Form4* ProgramWindows::loadedForm4() const {
    return ifLoaded(form4_);
}
Form5* ProgramWindows::loadedForm5() const {
    return ifLoaded(form5_);
}
Form6* ProgramWindows::loadedForm6() const {
    return ifLoaded(form6_);
}

Form1& ProgramWindows::originalWindow() {
    return form1();
}

Form2& ProgramWindows::greyWindow() {
    return form2();
}

bool ProgramWindows::runProgressDialog() {
    // The stage is done again only when this run finishes; a cancelled run leaves it undone.
    const std::int16_t mode = Module2::ConvertMode();
    const std::optional<ConversionResult> result = mode == 1   ? std::optional(ConversionResult::Grey)
                                                   : mode == 2 ? std::optional(ConversionResult::Half)
                                                               : std::nullopt;
    PictureDocument& document = Module2::document();
    if (result) {
        document.startRun(*result);
    }
    Form5& dialog = form5();
    dialog.Timer1->setEnabled(true);
    dialog.ShowModal();
    if (!result) {
        return false;
    }
    // Closed before its first tick: no run came, and the window's black picture is no result.
    if (document.run(*result) == PictureDocument::Run::Running) {
        document.endRun(*result, resultPicture(*result).surface(), false);
    }
    return document.finished(*result);
}

PictureBox& ProgramWindows::originalPicture() {
    return *form1().Picture2;
}

PictureBox& ProgramWindows::resultPicture(ConversionResult result) {
    return *(result == ConversionResult::Grey ? form2().Picture2 : form3().Picture2);
}

void ProgramWindows::maximiseResultWindow(ConversionResult result) {
    PictureWindowForm& window =
        result == ConversionResult::Grey ? static_cast<PictureWindowForm&>(form2()) : form3();
    window.setWindowStateValue(2);
}
