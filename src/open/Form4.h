#pragma once
// The open-picture dialog: drive, folder and file lists on the left, a fitted preview of the
// clicked file on the right (or, for a file that cannot be decoded, the reason in its place); OK, enabled
// once a file is clicked, opens that file and hands it on.

#include "open/OpenedPictureSink.h"
#include "runtime/Form.h"
#include "runtime/LoadPicture.h"

#include <QDateTime>

#include <optional>

class DirListBox;
class DriveListBox;
class FileListBox;
class PictureBox;
class QLabel;
class QPushButton;

class Form4 : public Form {
    Q_OBJECT
public:
    Form4(Shell& shell, OpenedPictureSink& opened, QWidget* parent);

    void Form_Load() override;
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Command1_Click();
    void Command2_Click();

    DriveListBox* const Drive1;
    DirListBox* const Dir1;
    FileListBox* const File1;
    PictureBox* const Picture1;
    PictureBox* const Picture2;
    PictureBox* const Picture3;
    QLabel* const Label1;
    QPushButton* const Command1;
    QPushButton* const Command2;
    // Over the preview's place: why the clicked file shows no preview; hidden while one shows.
    QLabel* const PreviewFailure;

protected:
    // Enter presses OK, Esc Cancel, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A file as it stood when the loader box decoded it.
    struct LoadedFile {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        static LoadedFile of(const QString& path);
        bool operator==(const LoadedFile&) const = default;
    };

    void wireEvents();
    void loadIntoLoaderBox(const QString& path);
    void placeAndPaintPreview();
    // The decoded picture at a path: the loader box's own when it holds that file unchanged.
    DecodedPicture pictureAt(const QString& path) const;

    OpenedPictureSink& opened_;
    std::optional<LoadedFile> loaded_;
    std::optional<DotsPerInch> loadedDotsPerInch_; // the resolution the loader box's file states
};
