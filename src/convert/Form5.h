#pragma once
// The conversion progress dialog: shown modally by a result window's load handler, its timer's
// first tick runs the grey conversion or the half-resolution reduction, showing their progress,
// and its cancel button and close box ask the run to stop.

#include "convert/ConversionSteps.h"
#include "convert/ConversionWindows.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Timer.h"

class QLabel;
class QPushButton;
class RectangleShape;

class Form5 : public Form, public ProgressDisplay {
    Q_OBJECT
public:
    Form5(Shell& shell, ConversionWindows& windows, QWidget* parent);

    void Form_QueryUnload() override;
    void Timer1_Timer();
    void Command1_Click();

    // Each returns whether its run finished (false when a cancel stopped it).
    bool ToBlack();
    bool ToScale();

    // The progress display: the running conversion's caption, bar text and bar width; an unchanged value
    // costs nothing.
    double fullBarWidth() const override;
    void showProgress(double percent, double barWidth) override;

    QLabel* const Label1;
    RectangleShape* const Shape1;
    QPushButton* const Command1;
    Timer* const Timer1;

    int Label1Width() const { return label1WidthTwips_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The steps of a run whose captions start with `captionPrefix`.
    ConversionSteps conversionSteps(const QString& captionPrefix);
    void closeAfterRun();

    ConversionWindows& windows_;
    int label1WidthTwips_;
    QString captionPrefix_;
    double shownPercent_ = -1;
    ColumnYield columnYield_;
};

inline const QString ProgressDialogCaption = QStringLiteral("将图片转换成黑白色……");
