#pragma once
// What a running export reads from the export dialog and shows in it. The values are taken at every
// yield, when events may have changed them; a dialog closed meanwhile keeps its last values and the
// export runs to its end.

#include "export/ExportControls.h"
#include "runtime/DoEvents.h"

#include <QPointer>

class Form6;

class ExportDialogControls : public ExportControls {
public:
    explicit ExportDialogControls(Form6& form);

    ExportPolarity polarity() const override { return polarity_; }
    int threshold() const override { return threshold_; }
    // The dialog's caption: "导出图像数据---已经完成" with the percentage.
    void showProgress(double percent) override;
    void yield() override;

private:
    void read();

    QPointer<Form6> form_;
    ColumnYield columnYield_;
    ExportPolarity polarity_ = ExportPolarity::None;
    int threshold_ = 0;
};
