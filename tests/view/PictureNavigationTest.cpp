// Moving around a picture window and zooming it through real events: the bars and the picture
// agree after every step, and the stored surface never changes. The half-resolution window paints
// its units as blocks while its surface and Point reads stay as stored.

#include "view/Form1.h"
#include "view/Form3.h"

#include "TestProgram.h"

#include <QAction>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

struct NoSurroundings : ResultWindowSurroundings {
    Form1& originalWindow() override { throw std::logic_error("not used"); }
    Form2& greyWindow() override { throw std::logic_error("not used"); }
    bool runProgressDialog() override { return true; }
};

QImage patterned(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, qRgb(x % 251, y % 241, (x + y) % 239));
        }
    }
    return image;
}

void sendWheel(QWidget* target, int angle, Qt::KeyboardModifiers modifiers) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

// One step of a row's events: "wheel:-120", "shift-wheel:-120", "ctrl-wheel:120", "bar-wheel:-120"
// (over the horizontal bar), "drag:-100,-50", "key:Down", "ctrl-key:Minus", "menu:fit_to_window".
void perform(PictureWindowForm& form, const QString& step) {
    const QString kind = step.section(u':', 0, 0);
    const QString argument = step.section(u':', 1);
    if (kind.endsWith(u"wheel")) {
        const Qt::KeyboardModifiers modifiers = kind == u"shift-wheel"  ? Qt::ShiftModifier
                                                : kind == u"ctrl-wheel" ? Qt::ControlModifier
                                                                        : Qt::NoModifier;
        QWidget* over = kind == u"bar-wheel" ? static_cast<QWidget*>(form.HScroll1) : form.Picture2;
        sendWheel(over, argument.toInt(), modifiers);
    } else if (kind == u"drag") {
        const QPoint from(form.Picture2->width() / 2, form.Picture2->height() / 2);
        const QPoint to =
            from + QPoint(argument.section(u',', 0, 0).toInt(), argument.section(u',', 1).toInt());
        QTest::mousePress(form.Picture2, Qt::LeftButton, {}, from);
        QTest::mouseMove(form.Picture2, to);
        QTest::mouseRelease(form.Picture2, Qt::LeftButton, {}, to);
    } else if (kind.endsWith(u"key")) {
        static const QHash<QString, Qt::Key> keys{
            {u"Right"_s, Qt::Key_Right}, {u"Down"_s, Qt::Key_Down},   {u"PgDown"_s, Qt::Key_PageDown},
            {u"PgUp"_s, Qt::Key_PageUp}, {u"Minus"_s, Qt::Key_Minus}, {u"Plus"_s, Qt::Key_Plus},
            {u"0"_s, Qt::Key_0},         {u"1"_s, Qt::Key_1}};
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

} // namespace

class PictureNavigationTest : public QObject {
    Q_OBJECT
    std::optional<TestProgram> program;

private slots:
    void init() { program.emplace(); }
    void cleanup() { program.reset(); }

    void eventsMoveThePictureThroughTheBars_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QString>("events");
        QTest::addColumn<double>("zoom");
        // Max and Value of the horizontal, then the vertical bar (0, 0 when disabled).
        QTest::addColumn<QList<int>>("bars");
        QTest::addColumn<QPointF>("corner");
        const QSize tall(2000, 3000);
        // The viewport's inside is 781 x 581; the bars start in the middle: 608 of 1217, 1208 of 2417.
        QTest::newRow("wheel down") << tall << "wheel:-120" << 1.0 << QList{1217, 608, 2417, 1256}
                                    << QPointF(-608, -1256);
        QTest::newRow("wheel up twice")
            << tall << "wheel:120 wheel:120" << 1.0 << QList{1217, 608, 2417, 1112} << QPointF(-608, -1112);
        QTest::newRow("shift wheel") << tall << "shift-wheel:-120" << 1.0 << QList{1217, 656, 2417, 1208}
                                     << QPointF(-656, -1208);
        QTest::newRow("wheel over the bar")
            << tall << "bar-wheel:120" << 1.0 << QList{1217, 560, 2417, 1208} << QPointF(-560, -1208);
        QTest::newRow("drag") << tall << "drag:-100,-50" << 1.0 << QList{1217, 708, 2417, 1258}
                              << QPointF(-708, -1258);
        QTest::newRow("drag past the edge")
            << tall << "drag:5000,0" << 1.0 << QList{1217, 0, 2417, 1208} << QPointF(0, -1208);
        QTest::newRow("arrows") << tall << "key:Right key:Down key:Down" << 1.0
                                << QList{1217, 656, 2417, 1304} << QPointF(-656, -1304);
        QTest::newRow("pages") << tall << "key:PgDown key:PgDown key:PgUp" << 1.0
                               << QList{1217, 608, 2417, 1731} << QPointF(-608, -1731);
        // 99217 pixels of excess: 24805 units of 4 pixels; a notch is 12 units.
        QTest::newRow("units of 4 pixels") << QSize(100000, 10) << "shift-wheel:-120" << 1.0
                                           << QList{24805, 12414, 0, 0} << QPointF(-49656, 286.5);
        QTest::newRow("zoom out about the centre") << tall << "ctrl-key:Minus ctrl-key:Minus" << 0.5
                                                   << QList{217, 109, 917, 459} << QPointF(-109, -459);
        QTest::newRow("ctrl wheel steps") << tall << "ctrl-wheel:-120 ctrl-wheel:-120 ctrl-wheel:120"
                                          << M_SQRT1_2 << QList{631, 315, 1538, 769} << QPointF(-315, -769);
        QTest::newRow("no step beyond 100 %") << tall << "ctrl-key:Plus ctrl-wheel:120" << 1.0
                                              << QList{1217, 608, 2417, 1208} << QPointF(-608, -1208);
        QTest::newRow("fit") << tall << "ctrl-key:0" << 581.0 / 3000 << QList{0, 0, 0, 0}
                             << QPointF(197.8333, 1);
        QTest::newRow("fit, then no step below") << tall << "menu:fit_to_window ctrl-key:Minus"
                                                 << 581.0 / 3000 << QList{0, 0, 0, 0} << QPointF(197.8333, 1);
        QTest::newRow("back to 100 %") << tall << "ctrl-key:0 wheel:-120 menu:100_% key:Down" << 1.0
                                       << QList{1217, 604, 2417, 1252} << QPointF(-604, -1252);
    }
    void eventsMoveThePictureThroughTheBars() {
        QFETCH(QSize, picture);
        QFETCH(QString, events);
        const QImage stored = patterned(picture);
        Form1 form(program->shell, nullptr);
        form.Picture2->setPicture(stored);
        form.resize(800, 600);
        form.show();
        for (const QString& step : events.split(u' ')) {
            perform(form, step);
        }
        QTEST(form.zoom(), "zoom");
        const auto bar = [](const ScrollBar* scrollBar) {
            return scrollBar->Enabled() ? QList<int>{scrollBar->Max(), scrollBar->Value()} : QList<int>{0, 0};
        };
        QTEST(bar(form.HScroll1) + bar(form.VScroll1), "bars");
        QFETCH(QPointF, corner);
        QVERIFY((QPointF(form.Picture2->Left(), form.Picture2->Top()) - corner).manhattanLength() < 1e-3);
        QCOMPARE(form.Picture2->size(), (QSizeF(picture) * form.zoom()).toSize());
        QVERIFY(form.Picture2->surface().image() == stored);
        QCOMPARE(program->shell.messages.size(), 0);
    }

    void halfWindowPaintsUnitsAsBlocksAndKeepsItsSurface() {
        NoSurroundings surroundings;
        Form3 half(program->shell, surroundings, nullptr);
        QImage black(6, 4, QImage::Format_RGB32);
        black.fill(Qt::black);
        half.Picture2->setPicture(black);
        half.Picture2->setScaleWidth(3);
        half.Picture2->setScaleHeight(2);
        const QList<QRgb> units{qRgb(200, 0, 0),  qRgb(0, 200, 0),  qRgb(0, 0, 200),
                                qRgb(90, 90, 90), qRgb(10, 20, 30), qRgb(255, 255, 255)};
        for (int unit = 0; unit < 6; ++unit) {
            half.Picture2->PSet(unit % 3, unit / 3, colourOfStoredPixel(units[unit]));
        }
        const QImage stored = half.Picture2->surface().image();
        const QImage painted = half.Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
        half.Picture2->setZoom(0.5);
        const QImage reduced = half.Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                QCOMPARE(painted.pixel(x, y), units[y / 2 * 3 + x / 2]);
            }
        }
        QCOMPARE(reduced.size(), QSize(3, 2));
        for (int unit = 0; unit < 6; ++unit) {
            QCOMPARE(reduced.pixel(unit % 3, unit / 3), units[unit]);
            QCOMPARE(half.Picture2->Point(unit % 3, unit / 3), colourOfStoredPixel(units[unit]));
        }
        QCOMPARE(half.Picture2->surface().image(), stored);
        QCOMPARE(stored.pixel(1, 1), qRgb(0, 0, 0)); // only each unit's first pixel is stored
    }
};

QTEST_MAIN(PictureNavigationTest)
#include "PictureNavigationTest.moc"
