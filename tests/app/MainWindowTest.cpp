#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "app/Module2.h"
#include "view/Form1.h"

#include "RecordingShell.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Module2::reset(); }

    void startsMaximisedWithOnlyTheOpenItemEnabledAndClosingEndsTheProgram() {
        RecordingShell shell;
        Forms forms(shell);
        MDIForm1& main = forms.mdiForm1();
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
        QCOMPARE(shell.endCount, 1);
    }

    void sharedStateStartsEmpty() {
        QVERIFY(Module2::CurrentPath.isEmpty());
        QCOMPARE(Module2::CancelFlag, BooleanFalse);
        QCOMPARE(Module2::ConvertMode, std::int16_t(0));
        for (const Boolean flag : Module2::StageDone) {
            QCOMPARE(flag, BooleanFalse);
        }
    }

    void windowsAreCreatedOnFirstReferenceAndAnewAfterClosing() {
        RecordingShell shell;
        Forms forms(shell);
        QVERIFY(!forms.loadedForm1());
        Form1* first = &forms.form1();
        QCOMPARE(forms.loadedForm1(), first);
        QCOMPARE(&forms.form1(), first);
        QCOMPARE(forms.mdiForm1().mdiArea()->subWindowList().size(), 1);
        first->Unload();
        QVERIFY(!forms.loadedForm1());
        forms.form1();
        QVERIFY(forms.loadedForm1());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
