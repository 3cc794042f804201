#include "Form5.h"

#include "convert/GreyConversion.h"
#include "convert/HalfReduction.h"
#include "convert/ProgressText.h"
#include "convert/RectangleShape.h"
#include "runtime/PictureBox.h"
#include "state/Module2.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int Label1DesignWidth = 15;
const QString ToBlackCaptionPrefix = QStringLiteral("转换成原分辨率黑白图片……已经完成:");
const QString ToScaleCaptionPrefix = QStringLiteral("转换成低分辨率黑白图片……已经完成:");

void placeTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
                        height / TwipsPerPixel);
}

QFont barFont() {
    QFont font;
    // 宋体 where it is installed, otherwise a CJK font that is.
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Droid Sans Fallback")});
    font.setPointSizeF(10.5);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

Form5::Form5(Shell& shell, ConversionWindows& windows, QWidget* parent)
    : Form(shell, parent), Label1(new QLabel(this)),
      Shape1(new RectangleShape(this, RGB(0, 0, 255), RGB(255, 255, 192))), Command1(new QPushButton(this)),
      Timer1(new Timer(this, 1000, true)), windows_(windows), label1WidthTwips_(Label1DesignWidth) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(6300 / TwipsPerPixel, 795 / TwipsPerPixel);
    setCaption(ProgressDialogCaption);

    Shape1->setGeometryTwips(120, 120, 6135, 255);
    placeTwips(Label1, 120, 120, Label1DesignWidth, 255);
    Label1->setAutoFillBackground(true);
    QPalette barColours = Label1->palette();
    barColours.setColor(QPalette::Window, QColor::fromRgb(storedPixel(RGB(0, 0, 255))));
    barColours.setColor(QPalette::WindowText, QColor::fromRgb(storedPixel(RGB(255, 255, 0))));
    Label1->setPalette(barColours);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(barFont());
    Label1->raise();

    Command1->setText(QStringLiteral("取消"));
    placeTwips(Command1, 5520, 480, 735, 255);
    connect(Command1, &QPushButton::clicked, this, [this] { onEvent([this] { Command1_Click(); }); });
    Timer1->onTimer([this] { onEvent([this] { Timer1_Timer(); }); });

    const QSize screen = shell.screenTwips() / TwipsPerPixel;
    const QSize outer = frameGeometry().size();
    move(std::max(0, (screen.width() - outer.width()) / 2),
         std::max(0, (screen.height() - outer.height()) / 2));
}

void Form5::Form_QueryUnload() {
    Module2::setCancelFlag(BooleanTrue);
}

void Form5::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // A cancel left over from an earlier dialog (closed before its first tick) must not stop this run.
    if (!event->spontaneous()) {
        Module2::setCancelFlag(BooleanFalse);
    }
}

void Form5::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Command1->click();
        return;
    }
    Form::keyPressEvent(event);
}

void Form5::Command1_Click() {
    Module2::setCancelFlag(BooleanTrue);
}

void Form5::Timer1_Timer() {
    // The document takes the picture the run made; a cancelled run's partial picture is shown but is no
    // result: its stage stays undone.
    if (Module2::ConvertMode() == 1) {
        const bool finished = ToBlack();
        windows_.maximiseResultWindow(ConversionResult::Grey);
        Module2::document().endRun(ConversionResult::Grey,
                                   windows_.resultPicture(ConversionResult::Grey).surface(), finished);
    } else if (Module2::ConvertMode() == 2) {
        const bool finished = ToScale();
        windows_.maximiseResultWindow(ConversionResult::Half);
        Module2::document().endRun(ConversionResult::Half,
                                   windows_.resultPicture(ConversionResult::Half).surface(), finished);
    }
    Timer1->setEnabled(false);
}

ConversionSteps Form5::conversionSteps(const QString& captionPrefix) {
    captionPrefix_ = captionPrefix;
    return ConversionSteps{*this, Module2::CancelFlag(), [this] { columnYield_(); }};
}

// The run is over: the dialog closes, and the cancel that its close raises (as the close box does) has
// no run left to stop.
void Form5::closeAfterRun() {
    Unload();
    Module2::setCancelFlag(BooleanFalse);
}

bool Form5::ToBlack() {
    PictureBox& target = windows_.resultPicture(ConversionResult::Grey);
    ConversionSteps steps = conversionSteps(ToBlackCaptionPrefix);
    convertToGrey(windows_.originalPicture().surface(), target.surface(), steps);
    closeAfterRun();
    target.surfaceChanged();
    return !steps.cancelled;
}

bool Form5::ToScale() {
    PictureBox& target = windows_.resultPicture(ConversionResult::Half);
    ConversionSteps steps = conversionSteps(ToScaleCaptionPrefix);
    reduceToHalf(windows_.resultPicture(ConversionResult::Grey).surface(),
                 windows_.originalPicture().surface(), target.surface(), steps);
    closeAfterRun();
    target.surfaceChanged();
    return !steps.cancelled;
}

double Form5::fullBarWidth() const {
    return Shape1->widthTwips();
}

void Form5::showProgress(double percent, double barWidth) {
    if (isUnloaded()) {
        return; // closed during the run: the last columns' display has nowhere to go
    }
    const int widthTwips = static_cast<int>(barWidth);
    if (widthTwips != label1WidthTwips_) {
        label1WidthTwips_ = widthTwips;
        const int pixels = widthTwips / TwipsPerPixel;
        if (pixels != Label1->width()) {
            Label1->resize(pixels, Label1->height());
        }
    }
    if (percent != shownPercent_ || Label1->text().isEmpty()) {
        shownPercent_ = percent;
        setCaption(progressCaption(captionPrefix_, percent));
        Label1->setText(progressLabelText(percent));
    }
}
