#pragma once
// The open dialog's 确定 for a picture named outside the dialog (on the command line, dropped on the
// main window): decoded before anything changes, so a bad or missing file is reported and nothing else
// changes; otherwise it becomes the current path and the sink opens it.

#include <QString>

struct DecodedPicture;
class OpenedPictureSink;
class Shell;

// Whether the picture was opened.
bool openPictureFile(Shell& shell, OpenedPictureSink& opened, const QString& path);

// What follows a decoded picture's opening, shared with the dialog: the document takes the picture
// (its stage flags start afresh), the sink shows it, and the dialogs start in its folder next time.
void pictureDecoded(Shell& shell, OpenedPictureSink& opened, const DecodedPicture& picture);
