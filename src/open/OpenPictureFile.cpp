#include "OpenPictureFile.h"

#include "open/OpenedPictureSink.h"
#include "runtime/ChineseTexts.h"
#include "runtime/LoadPicture.h"
#include "runtime/RuntimeError.h"
#include "runtime/Shell.h"
#include "runtime/StatedResolution.h"
#include "state/Module2.h"

#include <QFileInfo>
#include <QImage>

bool openPictureFile(Shell& shell, OpenedPictureSink& opened, const QString& path) {
    QImage picture;
    try {
        picture = LoadPicture(path);
    } catch (const RuntimeError& error) {
        shell.MsgBox(chineseErrorText(error));
        return false;
    }
    Module2::setCurrentPath(path);
    pictureDecoded(shell, opened, picture);
    return true;
}

void pictureDecoded(Shell& shell, OpenedPictureSink& opened, const QImage& picture) {
    // The stated resolution is read now, while the file is the one decoded.
    const QString path = Module2::CurrentPath();
    Module2::document().open(path, picture, statedDotsPerInch(path));
    opened.pictureOpened();
    shell.folderUsed(QFileInfo(path).absolutePath());
}
