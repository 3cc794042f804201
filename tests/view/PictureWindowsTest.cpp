// The three picture windows on their own: layout, moving around a picture and zooming it through real
// events (the bars and the picture agree after every step, the stored surface never changes), the
// half-resolution window's units painted as blocks, and what the result windows prepare while they load,
// with a progress dialog that only notes what it finds.

#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "TestPictures.h"
#include "TestProgram.h"

#include <QAction>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace {

// One step of a row's events: "wheel:-120", "shift-wheel:-120", "ctrl-wheel:120", "bar-wheel:-120"
// (over the horizontal bar), "drag:-100,-50", "key:Down", "ctrl-key:Minus", "menu:100_%" (the item's
// text, spaces as underscores).
void perform(PictureWindowForm& form, const QString& step) {
    const QString kind = step.section(u':', 0, 0);
    const QString argument = step.section(u':', 1);
    if (kind.endsWith(u"wheel")) {
        const Qt::KeyboardModifiers modifiers = kind == u"shift-wheel"  ? Qt::ShiftModifier
                                                : kind == u"ctrl-wheel" ? Qt::ControlModifier
                                                                        : Qt::NoModifier;
        QWidget* over = kind == u"bar-wheel" ? static_cast<QWidget*>(form.HScroll1) : form.Picture2;
        const QPointF at(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, argument.toInt()), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
    } else if (kind == u"drag") {
        const QPoint from(form.Picture2->width() / 2, form.Picture2->height() / 2);
        const QPoint to =
            from + QPoint(argument.section(u',', 0, 0).toInt(), argument.section(u',', 1).toInt());
        QTest::mousePress(form.Picture2, Qt::LeftButton, {}, from);
        QTest::mouseMove(form.Picture2, to);
        QTest::mouseRelease(form.Picture2, Qt::LeftButton, {}, to);
    } else if (kind.endsWith(u"key")) {
        static const QHash<QString, Qt::Key> keys{
            {"Right", Qt::Key_Right}, {"Down", Qt::Key_Down},   {"PgDown", Qt::Key_PageDown},
            {"PgUp", Qt::Key_PageUp}, {"Minus", Qt::Key_Minus}, {"Plus", Qt::Key_Plus},
            {"0", Qt::Key_0}};
        QTest::keyClick(&form, keys.value(argument),
                        kind == u"ctrl-key" ? Qt::ControlModifier : Qt::NoModifier);
    } else {
        for (QAction* item : form.actions()) {
            if (item->text().section(u'\t', 0, 0) == QString(argument).replace(u'_', u' ')) {
                item->trigger();
            }
        }
    }
}

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

    // A picture window on its own, with a client area of 800 x 600 holding a varied picture of this size.
    template <typename FormType>
    std::unique_ptr<PictureWindowForm> showWindow(QSize picture, auto&... surrounding) {
        auto form = std::make_unique<FormType>(program->shell, surrounding..., nullptr);
        form->Picture2->setPicture(variedImage(picture.width(), picture.height()));
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

    // The client area filled but the bars and the bare corner; one smaller than the bars keeps the viewport.
    void layoutFillsTheClientAreaAndSurvivesOneSmallerThanTheBars() {
        for (const auto& form :
             {showWindow<Form1>(QSize(1000, 500)), showWindow<Form2>(QSize(1000, 500), *surroundings),
              showWindow<Form3>(QSize(1000, 500), *surroundings)}) {
            QCOMPARE(form->VScroll1->geometry(), QRect(783, 0, 17, 583));
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

    void eventsMoveThePictureThroughTheBars_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QString>("events");
        QTest::addColumn<double>("zoom");
        // Max and Value of the horizontal, then the vertical bar (0, 0 when hidden, as it is where nothing
        // scrolls).
        QTest::addColumn<QList<int>>("bars");
        QTest::addColumn<QPointF>("corner");
        const auto row = [](const char* tag, const char* events, double zoom, const QList<int>& bars,
                            QPointF corner, QSize picture = QSize(2000, 3000)) {
            QTest::newRow(tag) << picture << QString(events) << zoom << bars << corner;
        };
        // The viewport's inside is 781 x 581; the bars start in the middle: 608 of 1217, 1208 of 2417.
        row("wheel up twice", "wheel:120 wheel:120", 1, {1217, 608, 2417, 1112}, {-608, -1112});
        row("shift wheel", "shift-wheel:-120", 1, {1217, 656, 2417, 1208}, {-656, -1208});
        row("wheel over the bar", "bar-wheel:120", 1, {1217, 560, 2417, 1208}, {-560, -1208});
        row("drag", "drag:-100,-50", 1, {1217, 708, 2417, 1258}, {-708, -1258});
        row("drag past the edge", "drag:5000,0", 1, {1217, 0, 2417, 1208}, {0, -1208});
        row("arrows", "key:Right key:Down key:Down", 1, {1217, 656, 2417, 1304}, {-656, -1304});
        row("pages", "key:PgDown key:PgDown key:PgUp", 1, {1217, 608, 2417, 1731}, {-608, -1731});
        // 99217 pixels of excess: 24805 units of 4 pixels; a notch is 12 units.
        row("units of 4 pixels", "shift-wheel:-120", 1, {24805, 12414, 0, 0}, {-49656, 286.5},
            QSize(100000, 10));
        row("zoom out about the centre", "ctrl-key:Minus ctrl-key:Minus", 0.5, {217, 109, 917, 459},
            {-109, -459});
        row("ctrl wheel steps", "ctrl-wheel:-120 ctrl-wheel:-120 ctrl-wheel:120", std::sqrt(0.5),
            {631, 315, 1538, 769}, {-315, -769});
        row("steps up to 800 % and no further",
            "ctrl-key:Plus ctrl-key:Plus ctrl-key:Plus ctrl-key:Plus "
            "ctrl-key:Plus ctrl-wheel:120",
            8, {15217, 7601, 23417, 11701}, {-7601, -11701});
        row("back down from 800 % by the same steps",
            "ctrl-key:Plus ctrl-key:Plus ctrl-key:Plus "
            "ctrl-key:Plus ctrl-key:Plus ctrl-key:Minus ctrl-key:Minus ctrl-key:Minus ctrl-key:Minus "
            "ctrl-key:Minus",
            1, {1217, 608, 2417, 1208}, {-608, -1208});
        row("fit by the menu", "menu:适合窗口", 581.0 / 3000, {0, 0, 0, 0}, {197.8333, 1});
        row("fitting a small picture never enlarges it", "ctrl-key:Plus ctrl-key:0", 1, {0, 0, 0, 0},
            {341, 241}, QSize(101, 101));
        row("no step below the fit", "ctrl-key:0 ctrl-key:Minus", 581.0 / 3000, {0, 0, 0, 0}, {197.8333, 1});
        row("back to 100 %", "ctrl-key:0 wheel:-120 menu:100_% key:Down", 1, {1217, 604, 2417, 1252},
            {-604, -1252});
    }
    void eventsMoveThePictureThroughTheBars() {
        QFETCH(QSize, picture);
        QFETCH(QString, events);
        const auto window = showWindow<Form1>(picture);
        PictureWindowForm& form = *window;
        for (const QString& step : events.split(u' ')) {
            perform(form, step);
        }
        QTEST(form.zoom(), "zoom");
        const auto bar = [](const ScrollBar* scrollBar) {
            return scrollBar->isVisibleTo(scrollBar->parentWidget())
                       ? QList<int>{scrollBar->Max(), scrollBar->Value()}
                       : QList<int>{0, 0};
        };
        QTEST(bar(form.HScroll1) + bar(form.VScroll1), "bars");
        QFETCH(QPointF, corner);
        QVERIFY2((QPointF(form.Picture2->Left(), form.Picture2->Top()) - corner).manhattanLength() < 1e-3,
                 qPrintable(QString("corner %1, %2").arg(form.Picture2->Left()).arg(form.Picture2->Top())));
        QCOMPARE(form.Picture2->size(), (QSizeF(picture) * form.zoom()).toSize());
        QVERIFY(form.Picture2->surface().image() == variedImage(picture.width(), picture.height()));
        QCOMPARE(program->shell.messages.size(), 0);
    }

    // Above 100 % every stored pixel (in the half-resolution window every unit's first) is a sharp square
    // of the zoom's side, marks included; the surface stays as it was.
    void enlargedPixelsAreSharpSquares_data() {
        QTest::addColumn<bool>("half");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("3 x 2 at 800 %") << false << QSize(3, 2) << 5 << false << QSize(24, 16);
        QTest::newRow("3 x 2 at 800 %, marked") << false << QSize(3, 2) << 5 << true << QSize(24, 16);
        QTest::newRow("half-resolution units at 300 %") << true << QSize(6, 4) << 2 << false << QSize(18, 12);
    }
    void enlargedPixelsAreSharpSquares() {
        QFETCH(bool, half);
        QFETCH(QSize, picture);
        QFETCH(int, steps);
        QFETCH(bool, marked);
        const auto window = half ? showWindow<Form3>(picture, *surroundings) : showWindow<Form1>(picture);
        const QImage stored = window->Picture2->surface().image().copy();
        const SumHighlight marks{selectedSums(ExportPolarity::Black, 100), qRgb(255, 0, 0), {}};
        if (marked) {
            window->Picture2->setHighlight(marks);
        }
        for (int step = 0; step < steps; ++step) {
            perform(*window, QStringLiteral("ctrl-key:Plus"));
        }
        QFETCH(QSize, shown);
        const QImage painted = window->Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(painted.size(), shown);
        const int factor = shown.width() / picture.width();
        const int block = half ? 2 : 1;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb pixel = stored.pixel(x / factor / block * block, y / factor / block * block);
                const QRgb expected = marked && marks.marks(channelSum(pixel)) ? marks.colour : pixel;
                QVERIFY2(painted.pixel(x, y) == expected,
                         qPrintable(QString("pixel (%1, %2): got %3, expected %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(painted.pixel(x, y), 0, 16)
                                        .arg(expected, 0, 16)));
            }
        }
        QCOMPARE(window->Picture2->surface().image(), stored);
    }

    // Each unit shows its first pixel: as a block of 2 x 2 at 100 %, as one pixel at 50 %.
    void halfWindowPaintsUnitsAsBlocksAndKeepsItsSurface() {
        Form3 half(program->shell, *surroundings, nullptr);
        const QImage stored = variedImage(6, 4);
        half.Picture2->setPicture(stored);
        half.Picture2->setScaleWidth(3);
        half.Picture2->setScaleHeight(2);
        const QImage painted = half.Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
        half.Picture2->setZoom(0.5);
        const QImage reduced = half.Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(reduced.size(), QSize(3, 2));
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                const QRgb first = stored.pixel(x / 2 * 2, y / 2 * 2);
                QCOMPARE(painted.pixel(x, y), first);
                QCOMPARE(reduced.pixel(x / 2, y / 2), first);
                QCOMPARE(half.Picture2->Point(x / 2, y / 2), colourOfStoredPixel(first));
            }
        }
        QCOMPARE(half.Picture2->surface().image(), stored);
    }
};

QTEST_MAIN(PictureWindowsTest)
#include "PictureWindowsTest.moc"
