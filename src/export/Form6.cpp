#include "Form6.h"

#include "ExportDialogControls.h"
#include "ExportDialogLayout.h"
#include "ExportDialogTexts.h"
#include "ExportJob.h"
#include "NewFolderPrompt.h"
#include "ReplaceQuestion.h"
#include "ThresholdHistogram.h"
#include "runtime/DirListBox.h"
#include "runtime/DriveListBox.h"
#include "runtime/FailureTexts.h"
#include "runtime/Numbers.h"
#include "runtime/PictureBox.h"
#include "runtime/PlatformDrives.h"
#include "runtime/ScrollBar.h"
#include "state/Module2.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>

namespace {

constexpr int ClientWidth = 8805;
// The frames, buttons and path take 5580; below them a row for the file type and the resolution, one for
// the shapes, one for the preview and one for the note on the file's resolution.
constexpr int ClientHeight = 7200;
const QString DialogCaption = QStringLiteral("导出图像数据");

} // namespace

Form6::Form6(Shell& programShell, ExportSources& sources, PictureDocument& document, QWidget* parent)
    : Form(programShell, parent),
      Frame1(placed(new QGroupBox(ThresholdFrameCaption, this), {120, 120, 5415, 1455})),
      Picture1(placed(new PictureBox(Frame1, colourOfStoredPixel(palette().button().color().rgb()), true),
                      {120, 240, 5175, 735})),
      HScroll1(placed(thresholdBar(Frame1), {120, 1080, 5175, 255})),
      Command2(placed(new QPushButton(QStringLiteral("取消"), this), {7710, 4860, 945, 315})),
      Command1(placed(new QPushButton(QStringLiteral("确定"), this), {5700, 4860, 945, 315})),
      Frame2(placed(new QGroupBox(QStringLiteral("图像数据保存位置"), this), {90, 1620, 5415, 3615})),
      Command3(placed(new QPushButton(QStringLiteral("新建文件夹"), Frame2), {4230, 3120, 1095, 315})),
      Text1(placed(new QLineEdit(QStringLiteral("未命名.txt"), Frame2), {120, 3090, 3915, 345})),
      Drive1(placed(new DriveListBox(Frame2), {120, 360, 5205, 300})),
      Dir1(placed(new DirListBox(Frame2), {120, 690, 5145, 2190})),
      Frame3(placed(new QGroupBox(this), {5640, 120, 3015, 1455})),
      Option3(placed(option(QStringLiteral("将黑色数据写入文件"), Frame3, true), {360, 240, 2295, 375})),
      Option4(placed(option(QStringLiteral("将白色数据写入文件"), Frame3, false), {360, 720, 2295, 375})),
      Frame4(placed(new QGroupBox(this), {5640, 1620, 3015, 1215})),
      Option2(placed(option(QStringLiteral("从低分辨率图像分析数据"), Frame4, false), {360, 600, 2415, 315})),
      Option1(placed(option(QStringLiteral("从原分辨率图像分析数据"), Frame4, true), {360, 240, 2535, 315})),
      Text2(placed(new QLineEdit(this), {120, 5280, 8535, 270})),
      FileType(placed(fileTypes(this), {1080, 5640, 2955, 315})),
      Resolution(placed(new QLineEdit(this), {4800, 5640, 1080, 315})),
      ResolutionNote(placed(new QLabel(this), {4155, 6900, 4500, 255})),
      DrawingSize(placed(new QLabel(this), {6360, 5640, 2295, 315})),
      Shapes(placed(shapeKinds(this), {1080, 6060, 1335, 315})),
      MinimumArea(placed(minimumAreaBox(this), {3720, 6060, 1335, 315})),
      ThresholdBox(placed(thresholdBox(this), {1080, 6480, 840, 315})),
      AutoThreshold(placed(new QPushButton(QStringLiteral("自动"), this), {2040, 6480, 945, 315})),
      PointCount(placed(new QLabel(this), {3120, 6480, 5535, 315})),
      Histogram(new ThresholdHistogram(Picture1)), sources_(sources), document_(document),
      preview_(
          document, sources, {*PointCount, *DrawingSize, *Histogram}, [this] { return previewChoices(); },
          this) {
    placed(new QLabel(QStringLiteral("文件类型"), this), {120, 5670, 900, 255});
    placed(new QLabel(QStringLiteral("分辨率"), this), {4155, 5670, 645, 255});
    placed(new QLabel(QStringLiteral("dpi"), this), {5925, 5670, 400, 255});
    placed(new QLabel(QStringLiteral("图形"), this), {120, 6090, 900, 255});
    placed(new QLabel(QStringLiteral("去除小斑点"), this), {2535, 6090, 1125, 255});
    placed(new QLabel(QStringLiteral("像素"), this), {5100, 6090, 500, 255});
    placed(new QLabel(QStringLiteral("分界线"), this), {120, 6510, 900, 255});
    const int inset = Picture1->borderWidth();
    Histogram->setGeometry(inset, inset, Picture1->width() - 2 * inset, Picture1->height() - 2 * inset);
    setCaption(DialogCaption);
    setFixedSize(ClientWidth / TwipsPerPixel, ClientHeight / TwipsPerPixel);
    fixFrameBorder(parent);
    Picture1->setFocusPolicy(Qt::TabFocus);
    chainTabOrder({Picture1, HScroll1, ThresholdBox, AutoThreshold, Command2, Command1, Command3, Text1,
                   Drive1, Dir1, Option3, Option4, Option2, Option1, Text2, FileType, Resolution, Shapes,
                   MinimumArea});

    connect(Command3, &QPushButton::clicked, this, [this] { onEvent([this] { Command3_Click(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { onEvent([this] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { onEvent([this] { Command2_Click(); }); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { onEvent([this] { Text1_Change(); }); });
    HScroll1->onChange([this] { onEvent([this] { HScroll1_Change(); }); });
    Drive1->onChange([this] { onEvent([this] { Drive1_Change(); }); });
    Dir1->onChange([this] { onEvent([this] { Dir1_Change(); }); });
    Dir1->onOpenFailed([this](const RuntimeError& error) { shell().reportError(error); });
    connect(FileType, &QComboBox::currentIndexChanged, this,
            [this] { onEvent([this] { fileTypeChosen(); }); });
    connect(Resolution, &QLineEdit::textChanged, this, [this] { onEvent([this] { preview_.show(); }); });
    connect(Shapes, &QComboBox::currentIndexChanged, this, [this] { onEvent([this] { preview_.show(); }); });
    connect(MinimumArea, &QSpinBox::valueChanged, this, [this] { onEvent([this] { preview_.show(); }); });

    // The thumb while dragged: the preview follows it, the bar's value waits for the release.
    connect(HScroll1, &QAbstractSlider::sliderMoved, this, [this](int position) {
        onEvent([this, position] {
            ThresholdBox->setValue(position);
            preview_.show();
        });
    });
    // A release where the drag began changes no value, and the preview becomes exact all the same.
    connect(HScroll1, &QAbstractSlider::sliderReleased, this,
            [this] { onEvent([this] { preview_.show(); }); });
    connect(ThresholdBox, &QSpinBox::valueChanged, this,
            [this](int threshold) { onEvent([this, threshold] { thresholdTyped(threshold); }); });
    connect(AutoThreshold, &QPushButton::clicked, this,
            [this] { onEvent([this] { AutoThreshold_Click(); }); });
    for (QRadioButton* choice : {Option1, Option3}) { // each toggles with its partner
        connect(choice, &QRadioButton::toggled, this, [this] { onEvent([this] { preview_.show(); }); });
    }
    // The preview follows the document by itself; the controls that follow it are the dialog's.
    connect(&document, &PictureDocument::opened, this, [this] { onEvent([this] { pictureOpened(); }); });
    connect(&document, &PictureDocument::resultChanged, this,
            [this] { onEvent([this] { offerSourcesByStage(); }); });
    connect(this, &Form::unloaded, &preview_, &ExportPreview::clear);
}

void Form6::Form_Initialize() {
    Picture1->setDrawWidth(2);
    Picture1->setScaleWidth(255);
    Picture1->setScaleHeight(20);
    for (int i = 0; i <= 255; ++i) {
        Picture1->Line(static_cast<float>(i), 0, static_cast<float>(i), 20, RGB(i, i, i));
    }
    const QSize screen = shell().screenTwips();
    setLeftTwips((screen.width() - WidthTwips()) / 2);
    setTopTwips((screen.height() - HeightTwips()) / 2);
    offerSourcesByStage();
    offerShapesByType();
    HScroll1->setBarValue(122);
    ThresholdBox->setValue(HScroll1->Value());
    preview_.show();
}

void Form6::Form_Load() {
    // The frame holds this window by now: it keeps the size of the client area, like a fixed border.
    if (frame() != this) {
        frame()->setFixedSize(frame()->sizeHint());
    }
    const QString dialogFolder = shell().dialogFolder();
    Dir1->setPath(dialogFolder);
    // Without drive letters the application's drive is the one holding its folder.
    Drive1->setDrive(dialogFolder);
    composePath();
    showStatedResolution(); // each opening: the picture opened since the last one may state another
}

void Form6::pictureOpened() {
    offerSourcesByStage();
    showStatedResolution();
}

void Form6::showStatedResolution() {
    Resolution->setText(resolutionText(document_.statedDotsPerInch()));
    ResolutionNote->setText(statedResolutionNote(document_.statedDotsPerInch()));
    Resolution->setCursorPosition(0); // a long stated value shows its leading digits
}

void Form6::offerSourcesByStage() {
    const bool halfDone = document_.stageDone(2) == BooleanTrue;
    if (halfOffered_ == halfDone) {
        return; // the user's choice stands while the stage stays as it was
    }
    halfOffered_ = halfDone;
    Option2->setEnabled(halfDone);
    (halfDone ? Option2 : Option1)->setChecked(true);
}

void Form6::Command1_Click() {
    if (exporting_) {
        return; // OK again while an export runs: the running export goes on alone
    }
    if (!ReplaceQuestion::allowsWriting(shell(), Text2->text())) {
        return; // 否: the file and this dialog stay as they were
    }
    // Events run during the export and may close this window, so nothing after this point relies
    // on it still being there.
    const QPointer<Form6> self(this);
    ExportSources& sources = sources_;
    PictureDocument& document = document_;
    Shell& programShell = shell();
    exporting_ = true;
    bool succeeded = false;
    const auto finished = qScopeGuard([self, &succeeded] {
        if (self) {
            self->exporting_ = false;
            if (!succeeded) {
                self->setCaption(DialogCaption); // no earlier success left on show after a refusal or failure
            }
        }
    });
    const std::optional<PixelSides> pixelMillimetres =
        pixelMillimetresTyped(Resolution->text(), document.statedDotsPerInch());
    if (!pixelMillimetres) {
        programShell.MsgBox(chineseText(Failure{Reason::ResolutionOutOfRange}), ApplicationTitle);
        return;
    }
    const OutputFormat format = chosenFormat();
    if (formatEntry(format).filtersSpecks &&
        !minimumAreaTyped(MinimumArea->cleanText(), MinimumArea->locale())) {
        programShell.MsgBox(chineseText(Failure{Reason::MinimumAreaOutOfRange}), ApplicationTitle);
        return;
    }
    Module2::setCurrentPath(Text2->text());
    const QString path = Module2::CurrentPath();
    const ConversionResult chosen = chosenSource();
    ExportDialogControls controls(*this);
    // A copy of the picture as it is now (the pixels are shared, not copied): closing or changing the
    // source window during the export neither disturbs it nor reopens that window.
    const PictureSurface source = sources.loadForExport(chosen);
    if (!document.finished(chosen)) {
        programShell.MsgBox(chineseText(Failure{Reason::PictureNotConverted}), ApplicationTitle);
        return; // a cancelled conversion's partial picture is no result to export; no file is opened
    }
    const ExportOutcome outcome = ExportJob(path, format, chosenShapes())
                                      .run(source, sources.openedPictureSize(), controls, *pixelMillimetres);
    succeeded = true;
    ReplaceQuestion::noteWritten(path);
    document.exportWritten(outcome.points, path);
    programShell.folderUsed(QFileInfo(path).absolutePath());
    programShell.MsgBox(QStringLiteral("导出图像数据完毕"), ApplicationTitle);
}

void Form6::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Command1->click();
        return;
    }
    Form::keyPressEvent(event);
}

void Form6::Command3_Click() {
    if (const std::optional<QString> made = promptForNewFolder(shell(), Dir1->Path())) {
        Dir1->setPath(*made); // its change handler recomposes the path
    }
}

void Form6::Command2_Click() {
    shell().End();
}

void Form6::Drive1_Change() {
    Dir1->setPath(Drive1->Drive());
}

void Form6::Dir1_Change() {
    composePath();
}

void Form6::Text1_Change() {
    composePath();
}

void Form6::HScroll1_Change() {
    Frame1->setTitle(thresholdCaption(HScroll1->Value()));
    ThresholdBox->setValue(HScroll1->Value());
    preview_.show();
}

void Form6::thresholdTyped(int threshold) {
    if (threshold != HScroll1->sliderPosition()) {
        HScroll1->setBarValue(threshold); // its change handler shows the rest
    }
}

void Form6::AutoThreshold_Click() {
    if (const std::optional<int> threshold = preview_.automaticThreshold()) {
        HScroll1->setBarValue(*threshold);
    }
}

ExportPolarity Form6::chosenPolarity() const {
    return Option3->isChecked()   ? ExportPolarity::Black
           : Option4->isChecked() ? ExportPolarity::White
                                  : ExportPolarity::None;
}

ExportPreview::Choices Form6::previewChoices() const {
    return {chosenSource(),
            chosenPolarity(),
            HScroll1->sliderPosition(),
            chosenFormat(),
            pixelMillimetresTyped(Resolution->text(), document_.statedDotsPerInch()),
            chosenShapes(),
            HScroll1->isSliderDown()};
}

ConversionResult Form6::chosenSource() const {
    return Option1->isChecked() ? ConversionResult::Grey : ConversionResult::Half;
}

OutputFormat Form6::chosenFormat() const {
    return static_cast<OutputFormat>(FileType->currentData().toInt());
}

ShapeChoice Form6::chosenShapes() const {
    return {static_cast<ShapeKind>(Shapes->currentData().toInt()), MinimumArea->value()};
}

void Form6::offerShapesByType() {
    const FormatEntry& format = formatEntry(chosenFormat());
    Shapes->setEnabled(format.drawing);
    MinimumArea->setEnabled(format.filtersSpecks);
}

// The file name takes the chosen type's ending in place of its own.
void Form6::fileTypeChosen() {
    Text1->setText(fileNameOfType(Text1->text(), chosenFormat()));
    offerShapesByType();
    preview_.show();
}

void Form6::composePath() {
    Text2->setText(Dir1->Path() + PathSeparator + Text1->text());
    Module2::setCurrentPath(Text2->text());
}
