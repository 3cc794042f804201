// The whole road through the real windows, offscreen: a picture opened through the open dialog, converted,
// reduced and exported from each source; the point files against bytes worked out from the pixels, a
// drawing against what quillet-export writes.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "runtime/FileListBox.h"
#include "runtime/ScrollBar.h"
#include "view/Form2.h"

#include "PointFiles.h"
#include "ProgressTicks.h"
#include "TestFiles.h"
#include "WholeProgram.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class WholeRoadTest : public QObject {
    Q_OBJECT
private slots:
    void aPictureGoesFromItsFileToBothPointFiles() {
        WholeProgram program;
        QImage picture(9, 7, QImage::Format_ARGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) { // row 2 translucent, laid on white when opened
                picture.setPixel(x, y,
                                 qRgba((x * 61 + y * 17) % 256, (x * 13 + y * 97) % 256, (x * 29) % 256,
                                       y == 2 ? 30 * x : 255));
            }
        }
        QVERIFY(picture.save(program.path("photo.png")));
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        main.show();

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
        QVERIFY(main.xConvert_to_Black()->isEnabled() && main.xScale()->isEnabled() &&
                main.xSave()->isEnabled());

        tickWhenProgressShows(forms);
        main.xConvert_to_Black_Click();
        tickWhenProgressShows(forms);
        main.xScale_Click();
        QCOMPARE(Module2::StageDone[2], BooleanTrue);

        // the dialog offers the half-resolution source once it exists
        main.xSave_Click();
        Form6& dialog = forms.form6();
        QVERIFY(dialog.Option2->isChecked());
        dialog.Option3->setChecked(true); // black, at the threshold of 122 it opens with
        dialog.Text2->setText(program.path("black.txt"));
        dialog.Command1->click();
        QCOMPARE(contents(dialog.Text2->text()), expectedPointFile(picture, true, false, 122));
        // a drawing: the typed resolution and the chosen source reach the job the command runs
        dialog.Option4->setChecked(true);
        dialog.HScroll1->setBarValue(0);
        dialog.Resolution->setText(QStringLiteral("300"));
        dialog.FileType->setCurrentIndex(1);
        dialog.Text2->setText(program.path("window.") + QFileInfo(dialog.Text1->text()).suffix());
        dialog.Command1->click();
        const QString command = program.path("command.") + QFileInfo(dialog.Text2->text()).suffix();
        QCOMPARE(QProcess::execute(QUILLET_EXPORT_PROGRAM, {"--half", "--white", "--threshold", "0", "--dpi",
                                                            "300", program.path("photo.png"), command}),
                 0);
        QCOMPARE(contents(dialog.Text2->text()), contents(command));
        dialog.FileType->setCurrentIndex(0);
        // the grey window closed: the half-resolution picture's export leaves it closed, with the opened
        // picture's size in the header; the original resolution's opens it again, with its conversion
        forms.loadedForm2()->Unload();
        tickWhenProgressShows(forms);
        for (const bool half : {true, false}) {
            (half ? dialog.Option2 : dialog.Option1)->setChecked(true);
            dialog.Text2->setText(program.path(QString("again %1.txt").arg(half)));
            dialog.Command1->click();
            QCOMPARE(forms.loadedForm2() != nullptr, !half);
            QCOMPARE(contents(dialog.Text2->text()), expectedPointFile(picture, half, true, 0));
        }
        QCOMPARE(program.shell.messages.size(), 4);
        QCOMPARE(program.shell.messages[0].text, QStringLiteral("导出图像数据完毕"));
    }
};

QTEST_MAIN(WholeRoadTest)
#include "WholeRoadTest.moc"
