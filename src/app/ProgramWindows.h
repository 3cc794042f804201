#pragma once
// Every window of the program, each created on first reference (its load handler running to its
// end). The original-picture window is only hidden by its close box and comes back, as it was left,
// when a new picture opens; the result windows are created anew after they have been closed, in the
// state and place they were closed in. A window that appears while the export dialog is open appears
// behind it. The windows reach one another through the interfaces of their folders, implemented here
// over these windows.

#include "app/ExportSourceWindows.h"
#include "convert/ConversionWindows.h"
#include "view/ResultWindowSurroundings.h"

#include "runtime/Form.h"

#include <QPointer>

#include <array>
#include <memory>
#include <optional>

class Shell;
class MDIForm1;
class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;

class ProgramWindows : private ResultWindowSurroundings, private ConversionWindows {
public:
    explicit ProgramWindows(Shell& shell);
    ~ProgramWindows() override;
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    Shell& shell() const { return shell_; }

    MDIForm1& mdiForm1();
    Form1& form1();
    Form2& form2();
    Form3& form3();
    Form4& form4();
    Form5& form5();
    Form6& form6();

    // The window if it is loaded now, without loading it.
    Form1* loadedForm1() const;
    Form2* loadedForm2() const;
    Form3* loadedForm3() const;
    Form4* loadedForm4() const;
    Form5* loadedForm5() const;
    Form6* loadedForm6() const;

    // Shows the document's opened picture in the original-picture window, which shows it again whenever
    // it is reopened; the earlier picture's result windows close.
    Form1& showOpenedPicture();
    // Shows the result window with a finished picture: an unfinished one (its run cancelled) is closed
    // and its conversion runs again, as ConvertMode says. The half-resolution picture needs a finished
    // grey one first, made with ConvertMode 1 before the mode goes back to 2.
    void showConvertedGrey();
    void showConvertedHalf();

private:
    template <typename FormType, typename Create>
    FormType& reference(QPointer<FormType>& slot, bool childOfMainWindow, Create create);
    template <typename FormType> void discardWithWindow(FormType& form);
    template <typename FormType> void placeAsLastClosed(FormType& form);
    // The export dialog, if open, back in front of the picture windows.
    void keepDialogInFront();

    Form1& originalWindow() override;
    Form2& greyWindow() override;
    bool runProgressDialog() override;
    PictureBox& originalPicture() override;
    PictureBox& resultPicture(ConversionResult result) override;
    void maximiseResultWindow(ConversionResult result) override;

    Shell& shell_;
    ExportSourceWindows exportSources_{*this};
    std::unique_ptr<MDIForm1> mdiForm1_;
    QPointer<Form1> form1_;
    QPointer<Form2> form2_;
    QPointer<Form3> form3_;
    QPointer<Form4> form4_;
    QPointer<Form5> form5_;
    QPointer<Form6> form6_;
    // Where the grey and the half-resolution window stood when last closed.
    std::array<std::optional<Form::Placement>, 2> closedPlacements_;
};
