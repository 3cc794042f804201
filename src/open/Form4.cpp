#include "Form4.h"

#include "open/OpenPictureFile.h"
#include "open/PreviewPlacement.h"
#include "runtime/ChineseTexts.h"
#include "runtime/DirListBox.h"
#include "runtime/DriveListBox.h"
#include "runtime/FileListBox.h"
#include "runtime/LoadPicture.h"
#include "runtime/Numbers.h"
#include "runtime/PictureBox.h"
#include "runtime/PlatformDrives.h"
#include "state/Module2.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

void place(PictureBox* box, float left, float top, float width, float height) {
    box->setLeft(left);
    box->setTop(top);
    box->setWidth(width);
    box->setHeight(height);
}

} // namespace

Form4::LoadedFile Form4::LoadedFile::of(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? LoadedFile{path, info.lastModified(), info.size()} : LoadedFile{path, {}, -1};
}

Form4::Form4(Shell& shell, OpenedPictureSink& opened, QWidget* parent)
    : Form(shell, parent), Drive1(new DriveListBox(this)), Dir1(new DirListBox(this)),
      File1(new FileListBox(this)), Picture1(new PictureBox(this, 0, true)),
      Picture2(new PictureBox(Picture1, 0, false)), Picture3(new PictureBox(this, 0, true)),
      Label1(new QLabel(this)), Command1(new QPushButton(QStringLiteral("确定"), this)),
      Command2(new QPushButton(QStringLiteral("取消"), this)), PreviewFailure(new QLabel(Picture1)),
      opened_(opened) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setCaption(QStringLiteral("选择你要转换的图片"));
    setFixedSize(737, 389);

    Drive1->setGeometry(8, 0, 241, 20);
    Dir1->setGeometry(8, 24, 241, 132);
    File1->setGeometry(8, 160, 241, 194);
    File1->setPattern(QStringLiteral("*.jpg;*.gif;*.bmp;*.png;*.ico"));
    place(Picture1, 256, 0, 473, 353);
    place(Picture2, 0, 0, 289, 105);
    place(Picture3, 296, 448, 81, 33);
    Picture3->setAutoSize(true);
    Label1->setGeometry(8, 360, 529, 25);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PreviewFailure->setGeometry(Picture1->rect().adjusted(16, 16, -16, -16));
    PreviewFailure->setAlignment(Qt::AlignCenter);
    PreviewFailure->setWordWrap(true);
    PreviewFailure->setStyleSheet(QStringLiteral("color: white")); // over the preview's black
    PreviewFailure->hide();
    Command1->setGeometry(544, 360, 97, 25);
    Command2->setGeometry(648, 360, 81, 25);

    // Picture boxes are tab stops too; the folder list comes first and so has the focus.
    for (PictureBox* box : {Picture1, Picture2, Picture3}) {
        box->setFocusPolicy(Qt::TabFocus);
    }
    const QList<QWidget*> tabOrder{Dir1, Drive1, File1, Picture1, Command1, Command2, Picture3, Picture2};
    for (qsizetype index = 1; index < tabOrder.size(); ++index) {
        setTabOrder(tabOrder[index - 1], tabOrder[index]);
    }
    Dir1->setFocus();
    // The path in CurrentPath may be an earlier file (even an exported one): only a click here chooses.
    Command1->setEnabled(false);
    wireEvents();
}

void Form4::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (Command1->isEnabled()) {
            Command1->click();
        }
    } else if (event->key() == Qt::Key_Escape) {
        Command2->click();
    } else {
        Form::keyPressEvent(event);
    }
}

void Form4::wireEvents() {
    Drive1->onChange([this] { onEvent([this] { Drive1_Change(); }); });
    Dir1->onChange([this] { onEvent([this] { Dir1_Change(); }); });
    Dir1->onOpenFailed([this](const RuntimeError& error) { shell().MsgBox(chineseErrorText(error)); });
    File1->onClick([this] { onEvent([this] { File1_Click(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { onEvent([this] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { onEvent([this] { Command2_Click(); }); });
}

void Form4::Form_Load() {
    const QString dialogFolder = shell().dialogFolder();
    Dir1->setPath(dialogFolder);
    // The drive holding the program's folder (its letter where drives have letters). A folder on
    // none of the drives, such as a network folder, leaves the drive list as it is.
    if (const QString drive = Drive1->driveHolding(dialogFolder); !drive.isEmpty()) {
        Drive1->setDrive(drive);
    }
    Picture3->setVisible(false);
    const QSize screen = shell().screenTwips();
    setLeftTwips(toInteger32((static_cast<float>(screen.width()) - static_cast<float>(WidthTwips())) / 2.0f));
    setTopTwips(
        toInteger32((static_cast<float>(screen.height()) - static_cast<float>(HeightTwips())) / 2.0f));
}

void Form4::Drive1_Change() {
    try {
        Dir1->setPath(Drive1->Drive());
    } catch (const RuntimeError& error) {
        // A drive that cannot be read: say so and put the drive list back on the folder's drive.
        shell().MsgBox(chineseErrorText(error));
        Drive1->setDrive(Dir1->Path());
    }
}

void Form4::Dir1_Change() {
    File1->setPath(Dir1->Path());
}

void Form4::File1_Click() {
    const auto fullPath = [this] { return File1->Path() + PathSeparator + File1->FileName(); };
    skipOnError([&] { Module2::setCurrentPath(fullPath()); });
    Command1->setEnabled(true);
    skipOnError([&] { Label1->setText(Module2::CurrentPath()); });
    skipOnError([&] { Picture2->Cls(); });
    // A file that cannot be decoded shows no earlier file's picture but the reason, here rather than
    // only at OK.
    try {
        loadIntoLoaderBox(fullPath());
    } catch (const RuntimeError& error) {
        loaded_.reset();
        Picture2->hide();
        PreviewFailure->setText(chineseErrorText(error));
        PreviewFailure->show();
        return;
    }
    PreviewFailure->hide();
    Picture2->show();
    skipOnError([&] { placeAndPaintPreview(); });
}

void Form4::loadIntoLoaderBox(const QString& path) {
    const LoadedFile file = LoadedFile::of(path); // before decoding: a later change must not match
    const DecodedPicture decoded = decodePictureFile(path);
    Picture3->setPicture(decoded.picture);
    loadedDotsPerInch_ = decoded.statedDotsPerInch;
    loaded_ = file;
}

void Form4::placeAndPaintPreview() {
    const float loaderWidth = Picture3->Width();
    const float loaderHeight = Picture3->Height();
    const PreviewPlacement placement(loaderWidth, loaderHeight, Picture1->Width(), Picture1->Height());
    place(Picture2, placement.Left(), placement.Top(), placement.Width(), placement.Height());
    // The source rectangle includes the loader box's border, one pixel beyond the picture on each
    // side; that part has nothing to paint and the preview stays black there.
    if (loaded_) {
        Picture2->PaintPicture(Picture3->Picture(), 0, 0, Picture2->Width(), Picture2->Height(), 0, 0,
                               loaderWidth, loaderHeight);
    }
}

DecodedPicture Form4::pictureAt(const QString& path) const {
    if (loaded_ && *loaded_ == LoadedFile::of(path)) {
        return {Picture3->Picture(), loadedDotsPerInch_};
    }
    return decodePictureFile(path);
}

void Form4::Command1_Click() {
    // Decoded before anything changes: a file that cannot be opened leaves the user's pictures,
    // stage flags and menu as they were, and the dialog open for another choice.
    DecodedPicture picture;
    try {
        picture = pictureAt(Module2::CurrentPath());
    } catch (const RuntimeError& error) {
        shell().MsgBox(chineseErrorText(error));
        return;
    }
    OpenedPictureSink& opened = opened_; // this window is discarded by Unload below
    Shell& programShell = shell();
    Unload();
    pictureDecoded(programShell, opened, picture);
}

void Form4::Command2_Click() {
    Unload();
}
