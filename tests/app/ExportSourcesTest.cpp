// The export dialog's sources in the assembled program: the query opens nothing, the load opens a closed
// result window with its own conversion, and what it returns outlives that window.

#include "app/Forms.h"
#include "view/Form1.h"
#include "view/Form2.h"

#include "ProgressTicks.h"
#include "WholeProgram.h"

#include <QtTest>

class ExportSourcesTest : public QObject {
    Q_OBJECT
private slots:
    void theQueryOpensNothingAndTheLoadOpensTheGreyWindowWithItsConversion() {
        WholeProgram program;
        Forms& forms = program.forms;
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(qRgb(30, 60, 91));
        forms.form1().Picture2->setPicture(picture);
        ExportSources& sources = forms.exportSources();
        Module2::ConvertMode = 2; // left by an earlier run
        QVERIFY(!sources.existingSource(true) && !sources.existingSource(false) &&
                !sources.halfPictureExists());
        QVERIFY(!forms.loadedForm2() && !forms.loadedForm3() && !forms.loadedForm5());

        tickWhenProgressShows(forms);
        const PictureSurface grey = sources.loadForExport(true);
        QCOMPARE(grey.Point(2, 1), RGB(60, 60, 60));
        QCOMPARE(sources.existingSource(true), &forms.loadedForm2()->Picture2->surface());
        QVERIFY(!forms.loadedForm3());
        forms.loadedForm2()->Unload();
        QCOMPARE(grey.Point(2, 1), RGB(60, 60, 60));
        QVERIFY(!sources.existingSource(true) && !forms.loadedForm2());
        QCOMPARE(sources.openedPictureSize(), QSizeF(3, 2));
    }
};

QTEST_MAIN(ExportSourcesTest)
#include "ExportSourcesTest.moc"
