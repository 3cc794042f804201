// The export dialog's preview through the real windows: the chosen source window paints the pixels to be
// written in red, the other nothing extra; the stored pictures never change; the marks go with the dialog.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "export/Form6.h"
#include "export/SelectionMarks.h"
#include "runtime/ScrollBar.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "ProgressTicks.h"
#include "TestPictures.h"
#include "WholeProgram.h"

#include <QRadioButton>
#include <QtTest>

namespace {

// Empty when the box paints, at 100 %, each stored pixel (each block's first at `block` > 1) in red where
// the marks take it and as it is elsewhere.
QString paintedDifference(PictureBox& box, const SumHighlight& marks, int block) {
    const QImage painted = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& stored = box.surface().image();
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            const QRgb pixel = stored.pixel(x / block * block, y / block * block);
            const QRgb expected = marks.marks(channelSum(pixel)) ? SelectionColour : pixel;
            if (painted.pixel(x, y) != expected) {
                return QString("pixel (%1, %2): %3").arg(x).arg(y).arg(painted.pixel(x, y), 0, 16);
            }
        }
    }
    return {};
}

} // namespace

class ExportPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void theChosenSourceWindowMarksTheSelectionOnScreenOnly() {
        WholeProgram program;
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        main.show();
        main.pictureOpened(variedImage(41, 29));
        tickWhenProgressShows(forms);
        main.xConvert_to_Black_Click();
        tickWhenProgressShows(forms);
        main.xScale_Click();
        PictureBox& grey = *forms.form2().Picture2;
        PictureBox& half = *forms.form3().Picture2;
        const QImage greyStored = grey.surface().image().copy();
        const QImage halfStored = half.surface().image().copy();
        forms.form2().zoomToActualSize();
        forms.form3().zoomToActualSize();

        main.xSave_Click();
        Form6& dialog = forms.form6();
        const SumHighlight black = *selectionMarks(ExportPolarity::Black, 122);
        QVERIFY(half.highlight() == black && !grey.highlight());
        QCOMPARE(paintedDifference(half, black, 2), QString());
        dialog.Option1->setChecked(true);
        dialog.Option4->setChecked(true);
        dialog.HScroll1->setBarValue(100);
        const SumHighlight white = *selectionMarks(ExportPolarity::White, 100);
        QVERIFY(grey.highlight() == white && !half.highlight());
        QCOMPARE(paintedDifference(grey, white, 1), QString());
        // Reduced, a shown pixel is red where any pixel it stands for is marked: some are, not all.
        forms.form2().zoomOut(forms.form2().viewportCentre());
        const QImage reduced = grey.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qsizetype red = std::count(
            reinterpret_cast<const QRgb*>(reduced.constBits()),
            reinterpret_cast<const QRgb*>(reduced.constBits()) + reduced.sizeInBytes() / 4, SelectionColour);
        QVERIFY(red > 0 && red < reduced.width() * reduced.height());
        QCOMPARE(grey.surface().image(), greyStored);
        QCOMPARE(half.surface().image(), halfStored);

        dialog.Option2->setChecked(true); // back to the half-resolution window, which the unload clears
        QVERIFY(half.highlight() && !grey.highlight());
        dialog.Unload();
        QVERIFY(!grey.highlight() && !half.highlight());
        QCOMPARE(paintedDifference(half, SumHighlight{SumHighlight::Side::Below, 0}, 2),
                 QString()); // unmarked
    }
};

QTEST_MAIN(ExportPreviewTest)
#include "ExportPreviewTest.moc"
