#pragma once
// The export dialog: the grey threshold over its ramp, black or white data, the source picture, the
// file's path, type and the drawing's resolution. OK writes the file; Cancel ends the program;
// 新建文件夹 creates a folder in the one shown and moves there. While it is open it previews the export:
// the source window marks the pixels to be written, a line states their count and the file's size, and
// the ramp carries the source's histogram.

#include "export/ExportSources.h"
#include "export/OutputFormat.h"
#include "export/PreviewCounts.h"
#include "runtime/Form.h"

class DirListBox;
class DriveListBox;
class PictureBox;
class QKeyEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;
class ScrollBar;
class ThresholdHistogram;

class Form6 : public Form {
    Q_OBJECT
public:
    Form6(Shell& shell, ExportSources& sources, QWidget* parent);

    void Form_Initialize();
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Drive1_Change();
    void Dir1_Change();
    void Text1_Change();
    void HScroll1_Change();

    // In tab order; each control's container comes before it.
    QGroupBox* const Frame1;
    PictureBox* const Picture1;
    ScrollBar* const HScroll1;
    QPushButton* const Command2;
    QPushButton* const Command1;
    QGroupBox* const Frame2;
    QPushButton* const Command3;
    QLineEdit* const Text1;
    DriveListBox* const Drive1;
    DirListBox* const Dir1;
    QGroupBox* const Frame3;
    QRadioButton* const Option3;
    QRadioButton* const Option4;
    QGroupBox* const Frame4;
    QRadioButton* const Option2;
    QRadioButton* const Option1;
    QLineEdit* const Text2;

    // Below the frames, buttons and path, in a row of their own: the file type, the drawing's
    // resolution in dots per inch and the drawing's size that follows from it.
    QComboBox* const FileType;
    QLineEdit* const Resolution;
    QLabel* const DrawingSize;
    // The preview, in a row below: the threshold typed (in step with HScroll1, and with its thumb while
    // dragged), Otsu's threshold, the count line; the histogram lies over the ramp.
    QSpinBox* const ThresholdBox;
    QPushButton* const AutoThreshold;
    QLabel* const PointCount;
    ThresholdHistogram* const Histogram;

    ExportPolarity chosenPolarity() const;

protected:
    // Enter presses OK, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Command3_Click();
    void composePath();
    void fileTypeChosen();
    void showDrawingSize();
    // The count line, the histogram and the source window's marks for the current choices, the threshold
    // under the bar's thumb.
    void showPreview();
    // Shows the preview again when the chosen source picture has appeared, gone or changed since.
    void followSource();
    void thresholdTyped(int threshold);
    void AutoThreshold_Click();
    OutputFormat chosenFormat() const;
    // The picture the source options choose: 原分辨率 the grey picture, 低分辨率 the half-resolution one.
    ConversionResult chosenSource() const;
    // The pixel's side in millimetres from the resolution field, or empty when it is not a positive number.
    std::optional<double> pixelMillimetresTyped() const;

    ExportSources& sources_;
    bool exporting_ = false;
    PreviewCounts counts_;
    QTimer* const sourceWatch_;
    // The source picture the preview shows, as its pixels and its run were then (null, 0: none).
    const PictureSurface* shownSource_ = nullptr;
    qint64 shownPixels_ = 0;
    bool shownFinished_ = false;
};
