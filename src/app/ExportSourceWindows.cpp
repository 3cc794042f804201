#include "ExportSourceWindows.h"

#include "app/ProgramWindows.h"
#include "state/Module2.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

PictureSurface ExportSourceWindows::loadForExport(ConversionResult source) {
    return sourceWindow(source).Picture2->surface();
}

// From the document: the original-picture window may be closed, and an export reopens nothing.
QSizeF ExportSourceWindows::openedPictureSize() {
    return QSizeF(Module2::document().picture().size());
}

// The chosen picture's window. A closed one is opened with its own conversion, as its menu item
// opens it (the grey picture first when there is none): left to an earlier run's mode, the
// progress dialog would run the other conversion on a window still being opened.
PictureWindowForm& ExportSourceWindows::sourceWindow(ConversionResult source) {
    const bool grey = source == ConversionResult::Grey;
    if (grey || (!forms_.loadedForm2() && !forms_.loadedForm3())) {
        if (!forms_.loadedForm2()) {
            Module2::setConvertMode(1);
        }
        PictureWindowForm& greyWindow = forms_.form2();
        if (grey) {
            return greyWindow;
        }
    }
    if (!forms_.loadedForm3()) {
        Module2::setConvertMode(2);
    }
    return forms_.form3();
}

void ExportSourceWindows::showSelection(ConversionResult source, const SumHighlight& marks) {
    const auto marksOf = [&](ConversionResult window) {
        return window == source ? std::optional(marks) : std::nullopt;
    };
    if (Form2* grey = forms_.loadedForm2()) {
        grey->Picture2->setHighlight(marksOf(ConversionResult::Grey));
    }
    if (Form3* half = forms_.loadedForm3()) {
        half->Picture2->setHighlight(marksOf(ConversionResult::Half));
    }
}

void ExportSourceWindows::clearSelection() {
    for (PictureWindowForm* window : {static_cast<PictureWindowForm*>(forms_.loadedForm2()),
                                      static_cast<PictureWindowForm*>(forms_.loadedForm3())}) {
        if (window) {
            window->Picture2->setHighlight(std::nullopt);
        }
    }
}
