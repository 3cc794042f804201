#include "ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        for (int column = 0; column < side; ++column) {
            const int grey = 255 - column * 255 / side;
            painter.setPen(QColor(grey, grey, grey));
            painter.drawLine(column, side / 2, column, side - 1);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const int dot = std::max(2, side / 8);
        for (int step = 0; step < 4; ++step) {
            painter.drawEllipse(step * side / 4 + dot / 2, side / 2 - dot - step * side / 10, dot, dot);
        }
        painter.setPen(QPen(QColor(40, 40, 40), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, side - 1, side - 1);
        icon.addPixmap(pixmap);
    }
    return icon;
}
