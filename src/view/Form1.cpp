#include "Form1.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The system's window-background colour, as the picture boxes of this window use it.
ColourValue windowBackground() {
    return colourOfStoredPixel(QGuiApplication::palette().color(QPalette::Base).rgb());
}

} // namespace

Form1::Form1(Shell& shell, QWidget* parent)
    : PictureWindowForm(shell, parent,
                        {QSize(694, 443), windowBackground(), windowBackground(), QPoint(-16, 40)}) {
    setCaption(QStringLiteral("原始图片"));
    // Its close box only hides it: the conversions and exports read its picture without reopening it.
    setKeptWhenClosed(true);
}

void Form1::Form_Load() {
    setWindowStateValue(2);
}
