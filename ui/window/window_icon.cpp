// The window icon: a shaded wireframe cube on a dark tile, drawn with QPainter.
#include "ui/window/window_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap draw_icon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 28, 40));
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

    // Three visible faces of a cube seen from above right.
    const QPointF top[] = {{16, 5}, {27, 10}, {16, 15}, {5, 10}};
    const QPointF left[] = {{5, 10}, {16, 15}, {16, 28}, {5, 23}};
    const QPointF right[] = {{16, 15}, {27, 10}, {27, 23}, {16, 28}};
    p.setPen(QPen(QColor(200, 200, 200), 1.2));
    p.setBrush(QColor(70, 170, 230));
    p.drawPolygon(top, 4);
    p.setBrush(QColor(40, 110, 170));
    p.drawPolygon(left, 4);
    p.setBrush(QColor(25, 75, 120));
    p.drawPolygon(right, 4);
    return pixmap;
}

} // namespace

QIcon make_window_icon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(draw_icon(size));
    return icon;
}
