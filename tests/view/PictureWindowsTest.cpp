// The three picture windows on their own: layout and scrolling, and what the result windows prepare
// while they load, with a progress dialog that only notes what it finds.

#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "TestProgram.h"

#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

namespace {

QRectF placeOf(const PictureBox* box) {
    return QRectF(box->Left(), box->Top(), box->Width(), box->Height());
}

// The original-picture and grey windows, each loaded on first reference, and a stand-in for the progress
// dialog.
struct Surroundings : ResultWindowSurroundings {
    explicit Surroundings(Shell& programShell) : shell(programShell) {}
    template <typename FormType> FormType& loaded(std::unique_ptr<FormType>& form, auto&... surrounding) {
        if (!form) {
            form = std::make_unique<FormType>(shell, surrounding..., nullptr);
            form->Form_Load();
            form->Show();
        }
        return *form;
    }
    Form1& originalWindow() override { return loaded(original); }
    Form2& greyWindow() override { return loaded(grey, *this); }
    bool runProgressDialog() override {
        progressDialog();
        return true;
    }

    Shell& shell;
    std::unique_ptr<Form1> original;
    std::unique_ptr<Form2> grey;
    std::function<void()> progressDialog;
};

} // namespace

class PictureWindowsTest : public QObject {
    Q_OBJECT
    std::optional<TestProgram> program;
    std::optional<Surroundings> surroundings;

    // A picture window on its own, with a client area of 800 x 600 holding a picture of this size.
    template <typename FormType>
    std::unique_ptr<PictureWindowForm> showWindow(QSize picture, auto&... surrounding) {
        auto form = std::make_unique<FormType>(program->shell, surrounding..., nullptr);
        form->Picture2->setPicture(QImage(picture, QImage::Format_RGB32));
        form->resize(800, 600);
        form->show();
        return form;
    }

private slots:
    void init() { surroundings.emplace(program.emplace().shell); }
    void cleanup() {
        surroundings.reset();
        program.reset();
    }

    void layoutFillsTheClientAreaButTheBarsAndTheBareCorner() {
        const auto form = showWindow<Form1>(QSize(100, 100));
        QCOMPARE(placeOf(form->Picture1), QRectF(0, 0, 783, 583));
        QCOMPARE(form->VScroll1->geometry(), QRect(783, 0, 17, 583));
        QCOMPARE(form->HScroll1->geometry(), QRect(0, 583, 783, 17));
        QCOMPARE(placeOf(form->Picture2), QRectF(341.5, 241.5, 100, 100));
        QVERIFY(!form->HScroll1->Enabled() && !form->VScroll1->Enabled());
    }

    // The bar's own steps are the scroll bar's tests; here one step moves the picture.
    void largePictureShowsItsMiddleAndFollowsItsBar() {
        const auto form = showWindow<Form1>(QSize(1000, 500));
        ScrollBar* bar = form->HScroll1;
        QCOMPARE(QList<int>({bar->Max(), bar->LargeChange(), bar->Value()}), QList<int>({217, 108, 108}));
        QCOMPARE(placeOf(form->Picture2), QRectF(-108, 41.5, 1000, 500));
        QVERIFY(!form->VScroll1->Enabled());
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(form->Picture2->Left(), -216.0f);
    }

    void clientAreaSmallerThanTheBarsKeepsTheViewportWithoutAnError() {
        for (const auto& form :
             {showWindow<Form1>(QSize(1000, 500)), showWindow<Form2>(QSize(1000, 500), *surroundings),
              showWindow<Form3>(QSize(1000, 500), *surroundings)}) {
            form->resize(10, 10);
            QCOMPARE(form->ScaleWidth(), 10.0f);
            QCOMPARE(placeOf(form->Picture1), QRectF(0, 0, 783, 583));
            QCOMPARE(form->HScroll1->geometry(), QRect(0, 583, 783, 17));
            QCOMPARE(form->Picture2->Left(), 0.0f); // laid out again on the unchanged viewport
        }
        QCOMPARE(program->shell.messages.size(), 0);
    }

    void loadsMaximiseTheOriginalThenPrepareTheGreyAndTheHalfScaleWindows() {
        Form1& original = surroundings->originalWindow();
        QCOMPARE(original.WindowStateValue(), 2);
        original.Picture2->setPicture(QImage(1000, 500, QImage::Format_RGB32));
        FitPictureInViewport(original);
        QList<QVariantList> atDialogs; // what each progress dialog finds
        Form3 half(program->shell, *surroundings, nullptr);
        surroundings->progressDialog = [&] {
            const Form2& grey = *surroundings->grey;
            const PictureBox* loading =
                atDialogs.isEmpty() ? grey.Picture2 : half.Picture2; // copied from Form1's
            atDialogs << QVariantList{original.WindowStateValue(),
                                      grey.WindowStateValue(),
                                      half.Picture2->ScaleWidth(),
                                      half.Picture2->ScaleHeight(),
                                      placeOf(loading) == placeOf(original.Picture2),
                                      (atDialogs.isEmpty() ? grey.WidthTwips() : half.WidthTwips()) ==
                                          original.WidthTwips()};
        };
        half.Form_Load();
        QCOMPARE(atDialogs, QList<QVariantList>(
                                {{1, 2, 657.0f, 393.0f, true, true}, {1, 1, 500.0f, 250.0f, true, true}}));
        QCOMPARE(half.Picture2->surface().pixelWidth(), 1000);
        QCOMPARE(half.WindowStateValue(), 1);
    }
};

QTEST_MAIN(PictureWindowsTest)
#include "PictureWindowsTest.moc"
