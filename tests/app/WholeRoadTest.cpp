// The whole road through the real windows, offscreen: open a picture through the open dialog,
// convert it, reduce it, export both sources, and compare the files with bytes computed here from
// the picture's pixels.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "app/Module2.h"
#include "convert/Form5.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "runtime/FileListBox.h"

#include "RecordingShell.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>

namespace {

// The expected point file, worked out from the decoded pixels: grey level (r + g + b + 1) div 3,
// the half-resolution unit (u, v) taken from pixel (2u, 2v), units 1..W by 1..H column by column,
// reads outside counting as white.
QByteArray expectedPointFile(const QImage& picture, bool half, bool white, int threshold) {
    const int width = picture.width();
    const int height = picture.height();
    auto sum = [&](int x, int y) {
        if (x >= width || y >= height) {
            return 765;
        }
        const QRgb pixel = picture.pixel(x, y);
        const int grey = (qRed(pixel) + qGreen(pixel) + qBlue(pixel) + 1) / 3;
        return 3 * grey;
    };
    const auto roundHalfEven = [](double value) { return int(std::nearbyint(value)); };
    const int units = half ? roundHalfEven(width / 2.0) : width;
    const int rows = half ? roundHalfEven(height / 2.0) : height;
    QByteArray file;
    auto put = [&file](qint32 a, qint32 b, qint32 c) {
        QByteArray record(24, '\0');
        qToLittleEndian(a, record.data());
        qToLittleEndian(b, record.data() + 4);
        qToLittleEndian(c, record.data() + 8);
        file += record;
    };
    put(width, height, 0);
    for (int x = 1; x <= units; ++x) {
        for (int y = 1; y <= rows; ++y) {
            const int s = half ? sum(2 * x, 2 * y) : sum(x, y);
            const double mean = s / 3.0;
            if (white ? mean > threshold : mean < threshold) {
                put(x, y, roundHalfEven(mean));
            }
        }
    }
    return file;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class WholeRoadTest : public QObject {
    Q_OBJECT
private slots:
    void aPictureGoesFromItsFileToBothPointFiles() {
        Module2::reset();
        QTemporaryDir folder;
        QImage picture(9, 7, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                picture.setPixel(x, y,
                                 qRgb((x * 61 + y * 17) % 256, (x * 13 + y * 97) % 256, (x * 29) % 256));
            }
        }
        QVERIFY(picture.save(folder.filePath("photo.png")));

        RecordingShell shell;
        shell.appPath = folder.path();
        Forms forms(shell);
        forms.mdiForm1().show();
        MDIForm1& main = forms.mdiForm1();

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
        const auto tickWhenShown = [](Form5& dialog, const QString& caption) {
            if (caption == ProgressDialogCaption) {
                QTimer::singleShot(0, &dialog, [&dialog] { dialog.Timer1->tick(); });
            }
        };
        class Ticker : public QObject {
        public:
            std::function<void(Form5&, const QString&)> onCaption;
            bool eventFilter(QObject* watched, QEvent* event) override {
                if (auto* dialog = qobject_cast<Form5*>(watched);
                    dialog && event->type() == QEvent::WindowTitleChange) {
                    onCaption(*dialog, dialog->windowTitle());
                }
                return false;
            }
        } ticker;
        ticker.onCaption = tickWhenShown;
        qApp->installEventFilter(&ticker);
        main.xConvert_to_Black_Click();
        main.xScale_Click();
        qApp->removeEventFilter(&ticker);
        QCOMPARE(Module2::StageDone[2], BooleanTrue);

        // export: the dialog offers the half-resolution source once it exists
        main.xSave_Click();
        Form6& exportDialog = forms.form6();
        QVERIFY(exportDialog.Option2->isChecked());
        const QString halfWhite = folder.filePath("half white.txt");
        exportDialog.Option4->setChecked(true);
        exportDialog.Text2->setText(halfWhite);
        exportDialog.Command1->click();

        const QString fullBlack = folder.filePath("full black.txt");
        exportDialog.Option1->setChecked(true);
        exportDialog.Option3->setChecked(true);
        exportDialog.Text2->setText(fullBlack);
        exportDialog.Command1->click();

        QCOMPARE(shell.messages.size(), 2);
        QCOMPARE(shell.messages[0].text, QStringLiteral("导出图像数据完毕"));
        QCOMPARE(contents(halfWhite), expectedPointFile(picture, true, true, 122));
        QCOMPARE(contents(fullBlack), expectedPointFile(picture, false, false, 122));
    }
};

QTEST_MAIN(WholeRoadTest)
#include "WholeRoadTest.moc"
