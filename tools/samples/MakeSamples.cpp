// Draws the sample pictures that ship beside the program, so that the open dialog, which starts in
// the program's folder, has something to show at first start.
//   make-samples FOLDER

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

QImage greyRampWithCircle() {
    QImage image(320, 200, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x) {
        const int grey = x * 255 / (image.width() - 1);
        for (int y = 0; y < image.height(); ++y) {
            image.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 6));
    painter.setBrush(QColor(200, 60, 40));
    painter.drawEllipse(QPointF(160, 100), 70, 70);
    return image;
}

QImage lineDrawing() {
    QImage image(300, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 3));
    // a house with a sun
    painter.drawRect(70, 100, 140, 100);
    painter.drawLine(60, 105, 140, 40);
    painter.drawLine(140, 40, 220, 105);
    painter.drawRect(125, 145, 30, 55);
    painter.drawRect(85, 120, 28, 25);
    painter.drawRect(167, 120, 28, 25);
    painter.drawEllipse(QPointF(255, 45), 22, 22);
    for (int ray = 0; ray < 8; ++ray) {
        const double angle = ray * M_PI / 4;
        painter.drawLine(QPointF(255 + 28 * std::cos(angle), 45 + 28 * std::sin(angle)),
                         QPointF(255 + 38 * std::cos(angle), 45 + 38 * std::sin(angle)));
    }
    return image;
}

QImage photoLikeGradient() {
    QImage image(480, 320, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double sky = double(y) / image.height();
            const double hill = 200 + 40 * std::sin(x / 60.0) + 15 * std::sin(x / 13.0);
            if (y > hill) {
                const int shade = 60 + int(40 * std::sin(x / 7.0 + y / 5.0));
                image.setPixel(x, y, qRgb(shade / 2, 90 + shade, shade / 3));
            } else {
                image.setPixel(x, y, qRgb(int(90 + 120 * sky), int(140 + 90 * sky), 230));
            }
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sun(QPointF(380, 70), 45);
    sun.setColorAt(0, QColor(255, 250, 200));
    sun.setColorAt(1, QColor(255, 200, 80, 0));
    painter.fillRect(image.rect(), sun);
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-samples FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool saved = greyRampWithCircle().save(folder.filePath("sample-ramp-circle.png")) &&
                       lineDrawing().save(folder.filePath("sample-line-drawing.bmp")) &&
                       photoLikeGradient().save(folder.filePath("sample-landscape.jpg"), "jpg", 92);
    if (!saved) {
        std::fprintf(stderr, "make-samples: cannot write the samples into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
