#include "view/FitPictureInViewport.h"
#include "view/PictureWindow.h"

#include <QtTest>

namespace {

// A picture window without widgets that logs every write, and every move made by the bars'
// change handling, in the order they happen.
struct FakeBox : LayoutBox {
    FakeBox(QStringList& writes, QSizeF boxSize) : log(writes), size(boxSize) {}
    float Left() const override { return left; }
    float Top() const override { return top; }
    float Width() const override { return float(size.width()); }
    float Height() const override { return float(size.height()); }
    void setLeft(float value) override { log << QStringLiteral("Left=%1").arg(left = value); }
    void setTop(float value) override { log << QStringLiteral("Top=%1").arg(top = value); }
    QStringList& log;
    QSizeF size;
    float left = 0.0f, top = 0.0f;
};

// Moves the picture, inside the write, only when the value really changes.
struct FakeAxis : ScrollAxis {
    FakeAxis(QStringList& writes, QString axis, std::function<void(float)> mover)
        : log(writes), name(axis), move(mover) {}
    bool Enabled() const override { return enabled; }
    void setEnabled(bool on) override { log << name + ((enabled = on) ? ".on" : ".off"); }
    std::int16_t Max() const override { return std::int16_t(max); }
    void setMax(int value) override { write("Max", max = value, std::min(current, value)); }
    std::int16_t LargeChange() const override { return std::int16_t(large); }
    void setLargeChange(int value) override { write("Large", large = value, current); }
    std::int16_t Value() const override { return std::int16_t(current); }
    void setValue(int value) override { write("Value", value, value); }
    void setScale(const ScrollScale& value) override { scale = value; }

    void write(const char* property, int value, int newCurrent) {
        log << name + QStringLiteral(".%1=%2").arg(property).arg(value);
        if (std::exchange(current, newCurrent) != newCurrent) {
            move(scale.offsetAt(std::int16_t(current)));
        }
    }
    QStringList& log;
    QString name;
    std::function<void(float)> move;
    ScrollScale scale;
    bool enabled = true;
    int max = 32767, large = 1, current = 0;
};

struct FakeWindow : PictureWindow {
    explicit FakeWindow(QSizeF pictureSize) : pictureBox(log, pictureSize) {}
    LayoutBox& viewport() override { return viewportBox; }
    LayoutBox& picture() override { return pictureBox; }
    ScrollAxis& horizontal() override { return h; }
    ScrollAxis& vertical() override { return v; }
    QStringList log;
    FakeBox viewportBox{log, QSizeF(300, 200)};
    FakeBox pictureBox;
    FakeAxis h{log, "H", [this](float offset) { pictureBox.setLeft(offset); }};
    FakeAxis v{log, "V", [this](float offset) { pictureBox.setTop(offset); }};
};

void row(const char* name, QSizeF picture, int startValue, const char* writes) {
    QTest::newRow(name) << picture << startValue << QString(writes);
}

} // namespace

class FitPictureInViewportTest : public QObject {
    Q_OBJECT
private slots:
    void writesEachCaseInItsOrder_data() {
        QTest::addColumn<QSizeF>("picture");
        QTest::addColumn<int>("startValue");
        QTest::addColumn<QString>("writes");
        row("A", QSizeF(1000, 500), 0,
            "Left=0 Top=0 H.on H.Max=700 H.Large=350 H.Value=350 Left=-350 V.on V.Max=300 V.Large=150 "
            "V.Value=150 Top=-150");
        row("B", QSizeF(200, 900), 0,
            "Left=0 Top=0 H.off V.on V.Max=700 V.Large=350 V.Value=350 Top=-350 Left=50");
        row("C", QSizeF(307, 150), 0, "Left=0 Top=0 V.off H.on H.Max=7 H.Large=4 H.Value=4 Left=-4 Top=25");
        row("D", QSizeF(100, 100), 0, "V.off H.off Left=100 Top=50");
        row("D, the viewport's size", QSizeF(300, 200), 0, "V.off H.off Left=0 Top=0");
        row("odd difference", QSizeF(99, 200), 0, "V.off H.off Left=100.5 Top=0");
        row("repeated call: thumbs already in the middle", QSizeF(1000, 500), 350,
            "Left=0 Top=0 H.on H.Max=700 H.Large=350 H.Value=350 V.on V.Max=300 V.Large=150 V.Value=150 "
            "Top=-150");
        row("value above the new Max", QSizeF(600, 100), 500,
            "Left=0 Top=0 V.off H.on H.Max=300 Left=-300 H.Large=150 H.Value=150 Left=-150 Top=50");
        row("excess of one pixel", QSizeF(301, 100), 0,
            "Left=0 Top=0 V.off H.on H.Max=1 H.Large=1 H.Value=0 Top=50");
        row("largest excess of one pixel a unit", QSizeF(33067, 100), 0,
            "Left=0 Top=0 V.off H.on H.Max=32767 H.Large=16384 H.Value=16384 Left=-16384 Top=50");
        row("excess beyond 16 bits: two pixels a unit", QSizeF(40301, 100), 0,
            "Left=0 Top=0 V.off H.on H.Max=20001 H.Large=10000 H.Value=10000 Left=-20000 Top=50");
        row("four pixels a unit", QSizeF(100300, 100), 0,
            "Left=0 Top=0 V.off H.on H.Max=25000 H.Large=12500 H.Value=12500 Left=-50000 Top=50");
    }

    void writesEachCaseInItsOrder() {
        QFETCH(QSizeF, picture);
        QFETCH(int, startValue);
        QFETCH(QString, writes);
        FakeWindow window(picture);
        window.h.current = startValue;
        FitPictureInViewport(window);
        QCOMPARE(window.log.join(' '), writes);
    }

    void widerUnitsReachThePicturesFarEdgeAndNoFurther() {
        FakeWindow window(QSizeF(40301, 100));
        FitPictureInViewport(window);
        window.h.setValue(20001);
        QCOMPARE(window.pictureBox.left, -40001.0f);
    }
};

QTEST_GUILESS_MAIN(FitPictureInViewportTest)
#include "FitPictureInViewportTest.moc"
