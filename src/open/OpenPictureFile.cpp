#include "OpenPictureFile.h"

#include "open/OpenedPictureSink.h"
#include "runtime/ChineseTexts.h"
#include "runtime/LoadPicture.h"
#include "runtime/RuntimeError.h"
#include "runtime/Shell.h"
#include "state/Module2.h"

#include <QFileInfo>

bool openPictureFile(Shell& shell, OpenedPictureSink& opened, const QString& path) {
    DecodedPicture picture;
    try {
        picture = decodePictureFile(path);
    } catch (const RuntimeError& error) {
        shell.MsgBox(chineseErrorText(error));
        return false;
    }
    Module2::setCurrentPath(path);
    pictureDecoded(shell, opened, picture);
    return true;
}

void pictureDecoded(Shell& shell, OpenedPictureSink& opened, const DecodedPicture& picture) {
    const QString path = Module2::CurrentPath();
    Module2::document().open(path, picture.picture, picture.statedDotsPerInch);
    opened.pictureOpened();
    shell.folderUsed(QFileInfo(path).absolutePath());
}
