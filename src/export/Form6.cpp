#include "Form6.h"

#include "ExportJob.h"
#include "PixelSize.h"
#include "SelectionMarks.h"
#include "ThresholdHistogram.h"
#include "runtime/DirListBox.h"
#include "runtime/DoEvents.h"
#include "runtime/DriveListBox.h"
#include "runtime/FailureTexts.h"
#include "runtime/Numbers.h"
#include "runtime/PictureBox.h"
#include "runtime/PlatformDrives.h"
#include "runtime/ScrollBar.h"
#include "state/Module2.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTimer>

#include <cmath>

namespace {

constexpr int ClientWidth = 8805;
// The frames, buttons and path take 5580; below them a row for the file type and the resolution, and one
// for the preview.
constexpr int ClientHeight = 6480;
const QString Frame1Caption = QStringLiteral("指定图像的黑白分界线");
const QString DialogCaption = QStringLiteral("导出图像数据");
const QString NewFolderName = QStringLiteral("新建文件夹");
const QString NotConverted = QStringLiteral("尚未转换");
const QString ProgressCaption = QStringLiteral("导出图像数据---已经完成%1%");
// How often the preview looks whether its source picture has appeared, gone or changed.
constexpr int SourceWatchMilliseconds = 300;

// The default name for a new folder in this one: 新建文件夹, or with the first number that is free.
QString freeFolderName(const QDir& folder) {
    QString name = NewFolderName;
    for (int number = 2; folder.exists(name); ++number) {
        name = NewFolderName + QString::number(number);
    }
    return name;
}

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

template <typename Control> Control* placed(Control* control, Twips place) {
    control->setGeometry(place.left / TwipsPerPixel, place.top / TwipsPerPixel, place.width / TwipsPerPixel,
                         place.height / TwipsPerPixel);
    return control;
}

PictureBox* placed(PictureBox* box, Twips place) {
    box->setLeft(static_cast<float>(place.left) / TwipsPerPixel);
    box->setTop(static_cast<float>(place.top) / TwipsPerPixel);
    box->setWidth(static_cast<float>(place.width) / TwipsPerPixel);
    box->setHeight(static_cast<float>(place.height) / TwipsPerPixel);
    return box;
}

ScrollBar* thresholdBar(QWidget* parent) {
    auto* const bar = new ScrollBar(Qt::Horizontal, parent);
    bar->setMin(0);
    bar->setMax(255);
    bar->setSmallChange(1);
    bar->setLargeChange(16);
    return bar;
}

QComboBox* fileTypes(QWidget* parent) {
    auto* const box = new QComboBox(parent);
    for (const FormatEntry& entry : outputFormats()) {
        box->addItem(QString::fromUtf8(entry.fileType), static_cast<int>(entry.format));
    }
    return box;
}

// Shortest decimal text that reads back as the same number, so the field holds exactly the stated value.
QString numberText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QSpinBox* thresholdBox(QWidget* parent) {
    auto* const box = new QSpinBox(parent);
    box->setRange(0, 255);
    return box;
}

QRadioButton* option(const QString& caption, QWidget* parent, bool selected) {
    auto* const button = new QRadioButton(caption, parent);
    button->setChecked(selected);
    return button;
}

// What a running export reads from the dialog and shows in it. The values are taken at every
// yield, when events may have changed them; a dialog closed meanwhile keeps its last values and
// the export runs to its end.
class DialogControls : public ExportControls {
public:
    explicit DialogControls(Form6& form) : form_(&form) { read(); }

    ExportPolarity polarity() const override { return polarity_; }
    int threshold() const override { return threshold_; }
    void showProgress(double percent) override {
        const QString caption = ProgressCaption.arg(decimalText(percent));
        if (form_ && form_->Caption() != caption) {
            form_->setCaption(caption);
        }
    }
    void yield() override {
        columnYield_();
        read();
    }

private:
    void read() {
        if (!form_) {
            return;
        }
        polarity_ = form_->chosenPolarity();
        threshold_ = form_->HScroll1->Value();
    }

    QPointer<Form6> form_;
    ColumnYield columnYield_;
    ExportPolarity polarity_ = ExportPolarity::None;
    int threshold_ = 0;
};

} // namespace

Form6::Form6(Shell& programShell, ExportSources& sources, QWidget* parent)
    : Form(programShell, parent), Frame1(placed(new QGroupBox(Frame1Caption, this), {120, 120, 5415, 1455})),
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
      Resolution(placed(new QLineEdit(this), {4800, 5640, 840, 315})),
      DrawingSize(placed(new QLabel(this), {6120, 5640, 2535, 315})),
      ThresholdBox(placed(thresholdBox(this), {1080, 6060, 840, 315})),
      AutoThreshold(placed(new QPushButton(QStringLiteral("自动"), this), {2040, 6060, 945, 315})),
      PointCount(placed(new QLabel(this), {3120, 6060, 5535, 315})),
      Histogram(new ThresholdHistogram(Picture1)), sources_(sources), sourceWatch_(new QTimer(this)) {
    placed(new QLabel(QStringLiteral("文件类型"), this), {120, 5670, 900, 255});
    placed(new QLabel(QStringLiteral("分辨率"), this), {4155, 5670, 645, 255});
    placed(new QLabel(QStringLiteral("dpi"), this), {5685, 5670, 400, 255});
    placed(new QLabel(QStringLiteral("分界线"), this), {120, 6090, 900, 255});
    const int inset = Picture1->borderWidth();
    Histogram->setGeometry(inset, inset, Picture1->width() - 2 * inset, Picture1->height() - 2 * inset);
    setCaption(DialogCaption);
    setFixedSize(ClientWidth / TwipsPerPixel, ClientHeight / TwipsPerPixel);
    if (auto* const frame = qobject_cast<QMdiSubWindow*>(parent)) {
        // A fixed border: no maximise button, and never maximised (see Form::Show).
        frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    }
    Picture1->setFocusPolicy(Qt::TabFocus);
    QWidget* const tabOrder[] = {Picture1, HScroll1, ThresholdBox, AutoThreshold, Command2,  Command1,
                                 Command3, Text1,    Drive1,       Dir1,          Option3,   Option4,
                                 Option2,  Option1,  Text2,        FileType,      Resolution};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

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
    connect(Resolution, &QLineEdit::textChanged, this, [this] {
        onEvent([this] {
            showDrawingSize();
            showPreview();
        });
    });
    connect(Option1, &QRadioButton::toggled, this, [this] { showDrawingSize(); });

    // The thumb while dragged: the preview follows it, the bar's value waits for the release.
    connect(HScroll1, &QAbstractSlider::sliderMoved, this, [this](int position) {
        onEvent([this, position] {
            ThresholdBox->setValue(position);
            showPreview();
        });
    });
    connect(ThresholdBox, &QSpinBox::valueChanged, this,
            [this](int threshold) { onEvent([this, threshold] { thresholdTyped(threshold); }); });
    connect(AutoThreshold, &QPushButton::clicked, this,
            [this] { onEvent([this] { AutoThreshold_Click(); }); });
    for (QRadioButton* choice : {Option1, Option3}) { // each toggles with its partner
        connect(choice, &QRadioButton::toggled, this, [this] { onEvent([this] { showPreview(); }); });
    }
    connect(sourceWatch_, &QTimer::timeout, this, [this] { onEvent([this] { followSource(); }); });
    connect(this, &Form::unloaded, this, [this] {
        sourceWatch_->stop();
        sources_.clearSelection();
    });
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
    if (sources_.halfPictureExists()) {
        Option2->setChecked(true);
    } else {
        Option2->setEnabled(false);
        Option1->setChecked(true);
    }
    HScroll1->setBarValue(122);
    ThresholdBox->setValue(HScroll1->Value());
    showPreview();
    sourceWatch_->start(SourceWatchMilliseconds);
}

void Form6::Form_Load() {
    // The frame holds this window by now: it keeps the size of the client area, like a fixed border.
    if (frame() != this) {
        frame()->setFixedSize(frame()->sizeHint());
    }
    const QString appPath = shell().AppPath();
    Dir1->setPath(appPath);
    // Without drive letters the application's drive is the one holding its folder.
    Drive1->setDrive(appPath);
    composePath();
    // Each opening: the picture opened since the last one may state another resolution.
    Resolution->setText(numberText(dotsPerInchOrDefault(sources_.statedDotsPerInch())));
}

void Form6::Command1_Click() {
    if (exporting_) {
        return; // OK again while an export runs: the running export goes on alone
    }
    // Events run during the export and may close this window, so nothing after this point relies
    // on it still being there.
    const QPointer<Form6> self(this);
    ExportSources& sources = sources_;
    Shell& programShell = shell();
    exporting_ = true;
    const auto finished = qScopeGuard([self] {
        if (self) {
            self->exporting_ = false;
        }
    });
    const std::optional<double> pixelMillimetres = pixelMillimetresTyped();
    if (!pixelMillimetres) {
        programShell.MsgBox(chineseText(Failure{Reason::ResolutionNotPositive}), ApplicationTitle);
        return;
    }
    Module2::CurrentPath = Text2->text();
    const QString path = Module2::CurrentPath;
    const OutputFormat format = chosenFormat();
    const ConversionResult chosen = chosenSource();
    DialogControls controls(*this);
    // A copy of the picture as it is now (the pixels are shared, not copied): closing or changing the
    // source window during the export neither disturbs it nor reopens that window.
    const PictureSurface source = sources.loadForExport(chosen);
    if (!sources.sourceFinished(chosen)) {
        programShell.MsgBox(chineseText(Failure{Reason::PictureNotConverted}), ApplicationTitle);
        return; // a cancelled conversion's partial picture is no result to export; no file is opened
    }
    bool succeeded = false;
    const auto restoreCaption = qScopeGuard([self, &succeeded] {
        if (!succeeded && self) {
            self->setCaption(DialogCaption); // no earlier success left on show after a failure
        }
    });
    ExportJob job(path, format);
    const ExportOutcome outcome = job.run(source, sources.openedPictureSize(), controls, *pixelMillimetres);
    succeeded = true;
    sources.exportWritten(outcome.points, path);
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

// A failure (a name that is no folder name, a folder that cannot be written) is reported and
// changes nothing.
void Form6::Command3_Click() {
    const QDir folder(Dir1->Path());
    const std::optional<QString> typed =
        shell().InputBox(QStringLiteral("新文件夹的名称："), freeFolderName(folder));
    if (!typed) {
        return;
    }
    const QString name = typed->trimmed();
    const bool plainName = !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
                           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
    if (!plainName || folder.exists(name) || !folder.mkdir(name)) {
        const Reason reason = !plainName            ? Reason::NewFolderNameInvalid
                              : folder.exists(name) ? Reason::NewFolderNameTaken
                                                    : Reason::NewFolderNotWritable;
        shell().MsgBox(
            chineseText(Failure{.reason = reason, .name = QDir::toNativeSeparators(folder.filePath(name))}),
            ApplicationTitle);
        return;
    }
    Dir1->setPath(folder.filePath(name)); // its change handler recomposes the path
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
    const QString v = decimalText(HScroll1->Value());
    Frame1->setTitle(Frame1Caption + QStringLiteral("--RGB(") + v + QLatin1Char(',') + v + QLatin1Char(',') +
                     v + QLatin1Char(')'));
    ThresholdBox->setValue(HScroll1->Value());
    showPreview();
}

void Form6::thresholdTyped(int threshold) {
    if (threshold != HScroll1->sliderPosition()) {
        HScroll1->setBarValue(threshold); // its change handler shows the rest
    }
}

// Otsu's threshold over the source's real pixels; without a source, or with a single grey, none.
void Form6::AutoThreshold_Click() {
    const ConversionResult chosen = chosenSource();
    const PictureSurface* const source = sources_.existingSource(chosen);
    if (!source || !sources_.sourceFinished(chosen)) {
        return;
    }
    const std::optional<int> threshold =
        otsuThreshold(counts_.of(*source, chosen).pixelsFromZero.sumCounts());
    if (threshold) {
        HScroll1->setBarValue(*threshold);
    }
}

void Form6::showPreview() {
    const ConversionResult chosen = chosenSource();
    const PictureSurface* const source = sources_.existingSource(chosen);
    shownSource_ = source;
    shownPixels_ = source ? source->image().cacheKey() : 0;
    shownFinished_ = source && sources_.sourceFinished(chosen);
    if (!shownFinished_) {
        PointCount->setText(NotConverted);
        Histogram->clear();
        sources_.clearSelection();
        return;
    }
    const ExportPolarity polarity = chosenPolarity();
    const int threshold = HScroll1->sliderPosition();
    const FormatEntry& format = formatEntry(chosenFormat());
    const SelectionExtent extent = counts_.extent(*source, chosen, format, polarity, threshold);
    const std::int64_t bytes = ExportJob::fileBytes(*source, format.format, extent,
                                                    pixelMillimetresTyped().value_or(pixelMillimetres({})));
    PointCount->setText(QStringLiteral("将写入 %1 个点，文件约 %2 MB")
                            .arg(extent.points)
                            .arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1));
    Histogram->setCounts(counts_.of(*source, chosen).pixelsFromZero.sumCounts());
    Histogram->setSelection(polarity, threshold);
    if (const std::optional<SumHighlight> marks = selectionMarks(polarity, threshold)) {
        sources_.showSelection(chosen, *marks);
    } else {
        sources_.clearSelection();
    }
}

void Form6::followSource() {
    const ConversionResult chosen = chosenSource();
    const PictureSurface* const source = sources_.existingSource(chosen);
    if (source != shownSource_ || (source && (source->image().cacheKey() != shownPixels_ ||
                                              sources_.sourceFinished(chosen) != shownFinished_))) {
        showPreview();
    }
}

ExportPolarity Form6::chosenPolarity() const {
    return Option3->isChecked()   ? ExportPolarity::Black
           : Option4->isChecked() ? ExportPolarity::White
                                  : ExportPolarity::None;
}

ConversionResult Form6::chosenSource() const {
    return Option1->isChecked() ? ConversionResult::Grey : ConversionResult::Half;
}

OutputFormat Form6::chosenFormat() const {
    return static_cast<OutputFormat>(FileType->currentData().toInt());
}

std::optional<double> Form6::pixelMillimetresTyped() const {
    bool number = false;
    const double dotsPerInch = QLocale::c().toDouble(Resolution->text().trimmed(), &number);
    if (!number || !(dotsPerInch > 0) || !std::isfinite(dotsPerInch)) {
        return std::nullopt;
    }
    return pixelMillimetres({std::nullopt, dotsPerInch, std::nullopt});
}

// The file name takes the chosen type's ending in place of its own.
void Form6::fileTypeChosen() {
    const QString name = Text1->text();
    const QString suffix = QFileInfo(name).suffix();
    const QString stem = suffix.isEmpty() ? name : name.left(name.size() - suffix.size() - 1);
    Text1->setText(stem + QLatin1String(formatEntry(chosenFormat()).suffix));
    showDrawingSize();
    showPreview();
}

// The drawing's size for the chosen source, once that picture exists; the point-data file has no size.
void Form6::showDrawingSize() {
    const PictureSurface* const source = sources_.existingSource(chosenSource());
    const std::optional<double> pixel = pixelMillimetresTyped();
    if (!source || !pixel || !formatEntry(chosenFormat()).drawing) {
        DrawingSize->clear();
        return;
    }
    const QSizeF size = ExportJob::drawingMillimetres(*source, *pixel);
    DrawingSize->setText(
        QStringLiteral("图形 %1 × %2 mm").arg(size.width(), 0, 'f', 1).arg(size.height(), 0, 'f', 1));
}

void Form6::composePath() {
    Text2->setText(Dir1->Path() + PathSeparator + Text1->text());
    Module2::CurrentPath = Text2->text();
}
