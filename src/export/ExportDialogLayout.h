#pragma once
// How the export dialog makes and places its controls: positions and sizes in twips, the threshold bar
// and spin box over 0 to 255, the file types in the formats' order, the shapes in the dialog's order, the
// minimum area's spin box, an option button, the tab order and the fixed border.

#include "runtime/PictureBox.h"
#include "runtime/Shell.h"

#include <initializer_list>

class QComboBox;
class QRadioButton;
class QSpinBox;
class ScrollBar;

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

// A picture box keeps the fractions of its place.
PictureBox* placed(PictureBox* box, Twips place);

ScrollBar* thresholdBar(QWidget* parent);
QSpinBox* thresholdBox(QWidget* parent);
QComboBox* fileTypes(QWidget* parent);
QComboBox* shapeKinds(QWidget* parent);
// Units from 0 (every shape kept) to LargestDialogMinimumArea.
QSpinBox* minimumAreaBox(QWidget* parent);
QRadioButton* option(const QString& caption, QWidget* parent, bool selected);

// Tab moves from each control to the next one listed.
void chainTabOrder(std::initializer_list<QWidget*> order);
// A child window's frame (an MDI sub-window) with a fixed border: no maximise button, and never
// maximised (see Form::Show). Any other parent is left as it is.
void fixFrameBorder(QWidget* frame);
