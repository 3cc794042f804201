#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "convert/Form5.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "WholeProgram.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    // First, before any test resets it: the values the program starts with.
    void sharedStateStartsEmpty() {
        QVERIFY(Module2::CurrentPath.isEmpty());
        QCOMPARE(Module2::CancelFlag, BooleanFalse);
        QCOMPARE(Module2::ConvertMode, std::int16_t(0));
        for (const Boolean flag : Module2::StageDone) {
            QCOMPARE(flag, BooleanFalse);
        }
    }

    void startsMaximisedWithOnlyTheOpenItemEnabledAndClosingEndsTheProgram() {
        WholeProgram program;
        MDIForm1& main = program.forms.mdiForm1();
        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("位图转换到AutoCAD图形（Quillet)"));
        QVERIFY(main.windowState() & Qt::WindowMaximized);
        QStringList captions;
        QList<bool> enabled;
        for (const QAction* action : main.menuBar()->actions()) {
            captions << action->text();
            enabled << action->isEnabled();
            QVERIFY(!action->menu());
        }
        QCOMPARE(captions, (QStringList{"打开图片文件", "转换成黑白图片", "降低分辨率", "保存图像数据"}));
        QCOMPARE(enabled, (QList<bool>{true, false, false, false}));
        QVERIFY(!main.windowIcon().isNull());
        main.close();
        QCOMPARE(program.shell.endCount, 1);
    }

    void windowsAreCreatedOnFirstReferenceAndAnewAfterClosing() {
        WholeProgram program;
        Forms& forms = program.forms;
        QVERIFY(!forms.loadedForm1());
        Form1* first = &forms.form1();
        QCOMPARE(forms.loadedForm1(), first);
        QCOMPARE(&forms.form1(), first);
        QCOMPARE(first->Icon().cacheKey(), forms.mdiForm1().Icon().cacheKey());
        QCOMPARE(forms.mdiForm1().mdiArea()->subWindowList().size(), 1);
        first->Unload();
        QVERIFY(!forms.loadedForm1());
        forms.form1();
        QVERIFY(forms.loadedForm1());
    }

    void reduceBeforeConvertMakesTheGreyPictureFirstAndMaximisesTheHalfResolutionWindow() {
        WholeProgram program;
        Forms& forms = program.forms;
        forms.form1().Picture2->setPicture(QImage(4, 4, QImage::Format_RGB32));
        forms.form1().Picture2->PSet(2, 2, RGB(30, 60, 91));
        QTimer ticker; // every progress dialog ticked as soon as it shows
        connect(&ticker, &QTimer::timeout, [&forms] {
            if (Form5* dialog = forms.loadedForm5(); dialog && dialog->isVisible()) {
                dialog->Timer1->tick();
            }
        });
        ticker.start(0);
        forms.mdiForm1().xScale_Click();
        QCOMPARE(Module2::StageDone[1], BooleanTrue);
        QCOMPARE(Module2::StageDone[2], BooleanTrue);
        QCOMPARE(forms.form2().WindowStateValue(), 1);
        QCOMPARE(forms.form3().WindowStateValue(), 2);
        QCOMPARE(forms.form3().Picture2->Point(1, 1), RGB(60, 60, 60));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
