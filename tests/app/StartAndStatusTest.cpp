// Starting with a picture and dropping one: the open dialog's road, a bad or missing file reported
// with nothing else changed; the main window's status bar following the picture, the stages, the
// active window's zoom and the last export.

#include "app/MDIForm1.h"
#include "app/MainStatusBar.h"
#include "convert/Form5.h"
#include "view/Form1.h"

#include "TestFiles.h"
#include "WholeProgram.h"

#include <QMimeData>
#include <QUrl>
#include <QtTest>

class StartAndStatusTest : public QObject {
    Q_OBJECT
private slots:
    void opensAPictureNamedAtStartOrDropped_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<bool>("opens");
        QTest::newRow("good") << "picture.png" << false << true;
        QTest::newRow("bad") << "bad.png" << false << false;
        QTest::newRow("missing") << "none.png" << false << false;
        QTest::newRow("dropped") << "picture.png" << true << true;
        QTest::newRow("dropped bad") << "bad.png" << true << false;
    }
    void opensAPictureNamedAtStartOrDropped() {
        QFETCH(QString, file);
        QFETCH(bool, dropped);
        QFETCH(bool, opens);
        WholeProgram program;
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(program.path(QStringLiteral("picture.png"))));
        writeFile(program.path(QStringLiteral("bad.png")), QByteArrayLiteral("no picture"));
        MDIForm1& main = program.forms.mdiForm1();
        main.show();
        const QString path = program.path(file);
        if (dropped) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&main, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&main, &drop);
        } else {
            QCOMPARE(main.openPictureFile(path), opens);
        }
        QCOMPARE(program.shell.messages.size(), opens ? 0 : 1);
        QCOMPARE(Module2::CurrentPath, opens ? path : QString());
        QCOMPARE(Module2::StageDone[0], opens ? BooleanTrue : BooleanFalse);
        QCOMPARE(main.xSave()->isEnabled(), opens);
        QCOMPARE(program.forms.loadedForm1() != nullptr, opens);
        QCOMPARE(main.status()->pictureText(),
                 opens ? QStringLiteral("picture.png　300 × 200 像素　已完成：打开") : QString());
    }

    void statusShowsTheActiveWindowsZoomAndTheLastExport() {
        WholeProgram program;
        QImage picture(3000, 2000, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QVERIFY(picture.save(program.path(QStringLiteral("large.png"))));
        MDIForm1& main = program.forms.mdiForm1();
        main.show();
        QVERIFY(main.openPictureFile(program.path(QStringLiteral("large.png"))));
        Form1& original = program.forms.form1();
        QTRY_COMPARE(main.status()->zoomText(), QStringLiteral("缩放 100 %"));
        original.zoomToFit();
        QVERIFY(main.status()->zoomText().endsWith(QStringLiteral(" %（适合窗口）")));
        original.zoomIn(original.viewportCentre());
        QCOMPARE(main.status()->zoomText(),
                 QStringLiteral("缩放 %1 %").arg(std::round(original.zoom() * 1000) / 10));
        program.forms.form5().setCaption(QStringLiteral("转换成黑白图片……已经完成:50%"));
        QCOMPARE(main.status()->currentMessage(), QStringLiteral("转换成黑白图片……已经完成:50%"));
        writeFile(program.path(QStringLiteral("out.txt")), QByteArray(3 * 1024 * 1024 / 2, 'x'));
        main.status()->showExportWritten(12345, program.path(QStringLiteral("out.txt")));
        QCOMPARE(
            main.status()->currentMessage(),
            QStringLiteral("已写入 12345 个点（1.5 MB）到 %1").arg(program.path(QStringLiteral("out.txt"))));
    }
};

QTEST_MAIN(StartAndStatusTest)
#include "StartAndStatusTest.moc"
