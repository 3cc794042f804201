// The whole road through the real windows, offscreen: open a picture through the open dialog,
// convert it, reduce it, export both sources, and compare the files with bytes computed here from
// the picture's pixels.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "runtime/FileListBox.h"

#include "PointFiles.h"
#include "ProgressTicks.h"
#include "TestFiles.h"
#include "TestProgram.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class WholeRoadTest : public QObject {
    Q_OBJECT
private slots:
    void aPictureGoesFromItsFileToBothPointFiles() {
        TestProgram program;
        QImage picture(9, 7, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                picture.setPixel(x, y,
                                 qRgb((x * 61 + y * 17) % 256, (x * 13 + y * 97) % 256, (x * 29) % 256));
            }
        }
        QVERIFY(picture.save(program.path("photo.png")));
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        main.show();

        // open: click the file, then OK
        QTimer::singleShot(0, &main, [&forms] {
            Form4* dialog = forms.loadedForm4();
            QVERIFY(dialog);
            const QList<QListWidgetItem*> found = dialog->File1->findItems("photo.png", Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            dialog->File1->setCurrentItem(found.first());
            dialog->Command1->click();
        });
        main.xOpen_Click();
        QCOMPARE(Module2::StageDone[0], BooleanTrue);
        QVERIFY(main.xSave()->isEnabled());

        // convert and reduce, each dialog ticked as soon as it shows
        tickWhenProgressShows(forms);
        main.xConvert_to_Black_Click();
        tickWhenProgressShows(forms);
        main.xScale_Click();
        QCOMPARE(Module2::StageDone[2], BooleanTrue);

        // export: the dialog offers the half-resolution source once it exists
        main.xSave_Click();
        Form6& exportDialog = forms.form6();
        QVERIFY(exportDialog.Option2->isChecked());
        const QString halfWhite = program.path("half white.txt");
        exportDialog.Option4->setChecked(true);
        exportDialog.Text2->setText(halfWhite);
        exportDialog.Command1->click();

        const QString fullBlack = program.path("full black.txt");
        exportDialog.Option1->setChecked(true);
        exportDialog.Option3->setChecked(true);
        exportDialog.Text2->setText(fullBlack);
        exportDialog.Command1->click();

        QCOMPARE(program.shell.messages.size(), 2);
        QCOMPARE(program.shell.messages[0].text, QStringLiteral("导出图像数据完毕"));
        QCOMPARE(contents(halfWhite), expectedPointFile(picture, true, true, 122));
        QCOMPARE(contents(fullBlack), expectedPointFile(picture, false, false, 122));
    }
};

QTEST_MAIN(WholeRoadTest)
#include "WholeRoadTest.moc"
