#include "MainStatusBar.h"

#include "state/Module2.h"
#include "view/PictureWindowForm.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cmath>

namespace {

// The stage flags 1 and 2 by the menu items that run them.
QString stagesDone() {
    QStringList stages{QStringLiteral("打开")};
    if (Module2::StageDone[1] == BooleanTrue) {
        stages << QStringLiteral("转换成黑白图片");
    }
    if (Module2::StageDone[2] == BooleanTrue) {
        stages << QStringLiteral("降低分辨率");
    }
    return stages.join(QStringLiteral("、"));
}

} // namespace

MainStatusBar::MainStatusBar(QMdiArea& area, QWidget* parent)
    : QStatusBar(parent), picture_(new QLabel(this)), zoom_(new QLabel(this)) {
    addWidget(picture_, 1);
    addPermanentWidget(zoom_);
    connect(&area, &QMdiArea::subWindowActivated, this, &MainStatusBar::follow);
}

void MainStatusBar::showPicture(const QString& path, QSize pixels) {
    pictureName_ = QFileInfo(path).fileName();
    pictureSize_ = pixels;
    showStages();
}

void MainStatusBar::showStages() {
    if (!pictureName_.isEmpty()) {
        picture_->setText(QStringLiteral("%1　%2 × %3 像素　已完成：%4")
                              .arg(pictureName_)
                              .arg(pictureSize_.width())
                              .arg(pictureSize_.height())
                              .arg(stagesDone()));
    }
}

void MainStatusBar::showExportWritten(std::int64_t points, const QString& file) {
    const double megabytes = static_cast<double>(QFileInfo(file).size()) / (1024.0 * 1024.0);
    showMessage(QStringLiteral("已写入 %1 个点（%2 MB）到 %3")
                    .arg(points)
                    .arg(megabytes, 0, 'f', 1)
                    .arg(QDir::toNativeSeparators(file)));
}

void MainStatusBar::followProgress(QWidget& window) {
    connect(&window, &QWidget::windowTitleChanged, this, [this](const QString& caption) {
        if (caption.endsWith(QLatin1Char('%'))) {
            showMessage(caption);
        }
    });
}

QString MainStatusBar::pictureText() const {
    return picture_->text();
}

QString MainStatusBar::zoomText() const {
    return zoom_->text();
}

void MainStatusBar::follow(QMdiSubWindow* window) {
    disconnect(zoomFollowed_);
    auto* const form = window ? qobject_cast<PictureWindowForm*>(window->widget()) : nullptr;
    if (!form) {
        zoom_->clear();
        return;
    }
    const auto showZoom = [this, form] {
        const QString percent = QString::number(std::round(form->zoom() * 1000.0) / 10.0);
        zoom_->setText(form->fitsToWindow() ? QStringLiteral("缩放 %1 %（适合窗口）").arg(percent)
                                            : QStringLiteral("缩放 %1 %").arg(percent));
    };
    zoomFollowed_ = connect(form, &PictureWindowForm::zoomChanged, zoom_, showZoom);
    showZoom();
}
