#include "MainStatusBar.h"

#include "state/PictureDocument.h"
#include "view/PictureWindowForm.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cmath>

namespace {

// The stage flags 1 and 2 by the menu items that run them.
QString stagesDone(const PictureDocument& document) {
    QStringList stages{QStringLiteral("打开")};
    if (document.stageDone(1) == BooleanTrue) {
        stages << QStringLiteral("转换成黑白图片");
    }
    if (document.stageDone(2) == BooleanTrue) {
        stages << QStringLiteral("降低分辨率");
    }
    return stages.join(QStringLiteral("、"));
}

} // namespace

MainStatusBar::MainStatusBar(QMdiArea& area, const PictureDocument& document, QWidget* parent)
    : QStatusBar(parent), document_(document), picture_(new QLabel(this)), export_(new QLabel(this)),
      zoom_(new QLabel(this)) {
    addWidget(picture_);
    addWidget(export_, 1);
    addPermanentWidget(zoom_);
    connect(&area, &QMdiArea::subWindowActivated, this, &MainStatusBar::follow);
    // A run or an export that ended takes its progress with it.
    connect(&document, &PictureDocument::opened, this, [this] {
        clearMessage();
        showPicture();
        showExport();
    });
    connect(&document, &PictureDocument::resultChanged, this, [this] {
        clearMessage();
        showPicture();
    });
    connect(&document, &PictureDocument::exported, this, [this] {
        clearMessage();
        showExport();
    });
}

void MainStatusBar::showPicture() {
    if (!document_.isOpen()) {
        picture_->clear();
        return;
    }
    const QImage& picture = document_.picture();
    picture_->setText(QStringLiteral("%1　%2 × %3 像素　已完成：%4")
                          .arg(QFileInfo(document_.picturePath()).fileName())
                          .arg(picture.width())
                          .arg(picture.height())
                          .arg(stagesDone(document_)));
}

void MainStatusBar::showExport() {
    const std::optional<PictureDocument::Export>& written = document_.lastExport();
    if (!written) {
        export_->clear();
        return;
    }
    const double megabytes = static_cast<double>(QFileInfo(written->file).size()) / (1024.0 * 1024.0);
    export_->setText(QStringLiteral("已写入 %1 个点（%2 MB）到 %3")
                         .arg(written->points)
                         .arg(megabytes, 0, 'f', 1)
                         .arg(QDir::toNativeSeparators(written->file)));
}

void MainStatusBar::followProgress(QWidget& window) {
    connect(&window, &QWidget::windowTitleChanged, this, [this](const QString& caption) {
        if (caption.endsWith(QLatin1Char('%'))) {
            showMessage(caption);
        } else {
            clearMessage(); // an export refused or failed: its caption shows no progress
        }
    });
}

QString MainStatusBar::pictureText() const {
    return picture_->text();
}

QString MainStatusBar::exportText() const {
    return export_->text();
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
