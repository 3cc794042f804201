#include "OpenPictureFile.h"

#include "open/OpenedPictureSink.h"
#include "runtime/ChineseTexts.h"
#include "runtime/LoadPicture.h"
#include "runtime/RuntimeError.h"
#include "runtime/Shell.h"
#include "state/Module2.h"

#include <QFileInfo>
#include <QImage>

bool openPictureFile(Shell& shell, OpenedPictureSink& opened, const QString& path) {
    DecodedPicture picture;
    try {
        picture = decodePictureFile(path);
    } catch (const RuntimeError& error) {
        shell.MsgBox(chineseErrorText(error));
        return false;
    }
    Module2::CurrentPath = path;
    pictureDecoded(shell, opened, picture);
    return true;
}

void pictureDecoded(Shell& shell, OpenedPictureSink& opened, const DecodedPicture& picture) {
    Module2::StageDone.fill(BooleanFalse);
    opened.pictureOpened(picture);
    Module2::StageDone[0] = BooleanTrue;
    shell.folderUsed(QFileInfo(Module2::CurrentPath).absolutePath());
}
