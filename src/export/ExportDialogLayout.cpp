#include "ExportDialogLayout.h"

#include "ExportDialogTexts.h"
#include "OutputFormat.h"
#include "runtime/ScrollBar.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QSpinBox>

PictureBox* placed(PictureBox* box, Twips place) {
    box->setLeft(static_cast<float>(place.left) / TwipsPerPixel);
    box->setTop(static_cast<float>(place.top) / TwipsPerPixel);
    box->setWidth(static_cast<float>(place.width) / TwipsPerPixel);
    box->setHeight(static_cast<float>(place.height) / TwipsPerPixel);
    return box;
}

ScrollBar* thresholdBar(QWidget* parent) {
    auto* const bar = new ScrollBar(Qt::Horizontal, parent);
    bar->setMin(0);
    bar->setMax(255);
    bar->setSmallChange(1);
    bar->setLargeChange(16);
    return bar;
}

QSpinBox* thresholdBox(QWidget* parent) {
    auto* const box = new QSpinBox(parent);
    box->setRange(0, 255);
    return box;
}

QComboBox* fileTypes(QWidget* parent) {
    auto* const box = new QComboBox(parent);
    for (const FormatEntry& entry : outputFormats()) {
        box->addItem(QString::fromUtf8(entry.fileType), static_cast<int>(entry.format));
    }
    return box;
}

QComboBox* shapeKinds(QWidget* parent) {
    auto* const box = new QComboBox(parent);
    for (const ShapeCaption& shape : DialogShapes) {
        box->addItem(QString::fromUtf8(shape.caption), static_cast<int>(shape.kind));
    }
    return box;
}

QSpinBox* minimumAreaBox(QWidget* parent) {
    auto* const box = new QSpinBox(parent);
    box->setRange(0, static_cast<int>(LargestDialogMinimumArea));
    box->setValue(0); // writes the text OK reads, which a spin box leaves empty until shown
    return box;
}

QRadioButton* option(const QString& caption, QWidget* parent, bool selected) {
    auto* const button = new QRadioButton(caption, parent);
    button->setChecked(selected);
    return button;
}

void chainTabOrder(std::initializer_list<QWidget*> order) {
    QWidget* previous = nullptr;
    for (QWidget* control : order) {
        if (previous) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

void fixFrameBorder(QWidget* frame) {
    if (auto* const subWindow = qobject_cast<QMdiSubWindow*>(frame)) {
        subWindow->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    }
}
