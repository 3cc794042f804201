#pragma once
// The export dialog: the grey threshold over its ramp, black or white data, the source picture, the
// file's path, type, the drawing's resolution, its shapes and the minimum area of the shapes kept. OK writes
// the file; Cancel ends the program; 新建文件夹 creates a folder in the one shown and moves there. While it
// is open it previews the export (ExportPreview) and follows the picture document: a new picture brings its
// stated resolution, and the half-resolution choice is offered while that stage is done.

#include "export/ExportPreview.h"
#include "export/ExportSources.h"
#include "export/OutputFormat.h"
#include "runtime/Form.h"

#include <optional>

class DirListBox;
class DriveListBox;
class PictureBox;
class PictureDocument;
class QKeyEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class ScrollBar;
class ThresholdHistogram;

class Form6 : public Form {
    Q_OBJECT
public:
    Form6(Shell& shell, ExportSources& sources, PictureDocument& document, QWidget* parent);

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
    QLabel* const ResolutionNote; // the file's two resolutions, or that what it states counts as none
    QLabel* const DrawingSize;
    // In a row below: the shapes of a drawing (DXF, SVG) and the minimum area in pixels below which a shape
    // is left out (DXF, SVG, CSV; 0 keeps every shape), each enabled for the file types it applies to.
    QComboBox* const Shapes;
    QSpinBox* const MinimumArea;
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
    // The shapes and the minimum area enabled as far as the chosen file type takes them.
    void offerShapesByType();
    // The stated resolution, or 96, in the resolution field.
    void showStatedResolution();
    // A new picture: its stated resolution, and the source choice for its stages.
    void pictureOpened();
    // As the creation step chooses the source: 低分辨率 enabled and chosen while the half-resolution stage
    // is done, else disabled with 原分辨率 chosen; applied again only when that stage changes.
    void offerSourcesByStage();
    void thresholdTyped(int threshold);
    void AutoThreshold_Click();
    OutputFormat chosenFormat() const;
    ShapeChoice chosenShapes() const;
    // The picture the source options choose: 原分辨率 the grey picture, 低分辨率 the half-resolution one.
    ConversionResult chosenSource() const;
    ExportPreview::Choices previewChoices() const;

    ExportSources& sources_;
    PictureDocument& document_;
    ExportPreview preview_;
    bool exporting_ = false;
    // Whether the half-resolution stage was done when the source choice last followed it.
    std::optional<bool> halfOffered_;
};
