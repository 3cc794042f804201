// The file quillet-export writes is the file the windows write for the same picture and settings:
// the real windows, offscreen, from the opened picture through the convert and reduce items to OK.

#include "ExporterProcess.h"

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "app/Module2.h"
#include "convert/Form5.h"
#include "export/Form6.h"
#include "runtime/LoadPicture.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"
#include "runtime/Timer.h"
#include "view/Form1.h"

#include "RecordingShell.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage colourPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y,
                             qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (x * 91 + y * 7) % 256));
        }
    }
    return picture;
}

// Delivers the progress dialog's tick as soon as it shows, instead of a second later.
void tickAtOnce(Forms& forms) {
    QTimer::singleShot(0, &forms.mdiForm1(), [&forms] {
        if (Form5* dialog = forms.loadedForm5(); dialog && dialog->isVisible()) {
            dialog->Timer1->tick();
        } else {
            tickAtOnce(forms);
        }
    });
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class ExportCommandMatchesWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void theCommandWritesTheWindowsFile_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("half");
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        for (const auto& [type, size] : {std::pair{"png", QSize(7, 5)}, std::pair{"jpg", QSize(10, 9)}}) {
            for (const bool half : {false, true}) {
                for (const bool white : {false, true}) {
                    QTest::addRow("%s %s %s", type, half ? "half" : "full", white ? "white" : "black")
                        << type << size << half << white << 122;
                }
            }
        }
        QTest::newRow("png half black 255") << "png" << QSize(7, 5) << true << false << 255;
        QTest::newRow("png full white 0") << "png" << QSize(7, 5) << false << true << 0;
    }
    void theCommandWritesTheWindowsFile() {
        QFETCH(QString, type);
        QFETCH(QSize, size);
        QFETCH(bool, half);
        QFETCH(bool, white);
        QFETCH(int, threshold);
        QTemporaryDir folder;
        const QString picture = folder.filePath("picture." + type);
        QVERIFY(colourPicture(size.width(), size.height()).save(picture));

        Module2::reset();
        RecordingShell shell;
        shell.appPath = folder.path();
        Forms forms(shell);
        forms.mdiForm1().show();
        forms.form1().Picture2->setPicture(LoadPicture(picture)); // as the open dialog's OK does
        Module2::StageDone[0] = BooleanTrue;
        tickAtOnce(forms);
        forms.mdiForm1().xConvert_to_Black_Click();
        if (half) {
            tickAtOnce(forms);
            forms.mdiForm1().xScale_Click();
        }
        forms.mdiForm1().xSave_Click();
        Form6& dialog = forms.form6();
        (half ? dialog.Option2 : dialog.Option1)->setChecked(true);
        (white ? dialog.Option4 : dialog.Option3)->setChecked(true);
        dialog.HScroll1->setValue(threshold);
        dialog.Text2->setText(folder.filePath("windows.txt"));
        dialog.Command1->click();
        QCOMPARE(shell.messages.size(), 1);
        QCOMPARE(shell.messages[0].text, QStringLiteral("导出图像数据完毕"));

        QStringList arguments{"--threshold", QString::number(threshold), picture,
                              folder.filePath("command.txt")};
        if (half) {
            arguments.prepend("--half");
        }
        if (white) {
            arguments.prepend("--white");
        }
        const ExporterRun run = runExporter(arguments);
        QCOMPARE(run.exitCode, 0);
        const QByteArray windowsFile = contents(folder.filePath("windows.txt"));
        QVERIFY(windowsFile.size() > 24); // some points, not a header alone
        QCOMPARE(contents(folder.filePath("command.txt")), windowsFile);
    }
};

QTEST_MAIN(ExportCommandMatchesWindowsTest)
#include "ExportCommandMatchesWindowsTest.moc"
