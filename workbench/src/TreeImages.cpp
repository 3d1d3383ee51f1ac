#include "TreeImages.h"

#include <QPainter>
#include <QPixmap>

namespace {

// A small book; a closed project's book is grey and carries a padlock bar.
QPixmap book(bool closed)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor cover = closed ? QColor(120, 120, 120) : QColor(40, 110, 190);
    p.setPen(cover.darker(140));
    p.setBrush(cover);
    p.drawRect(2, 1, 11, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 240));
    p.drawRect(4, 3, 8, 9); // pages
    p.setPen(cover.darker(120));
    for (int y = 5; y <= 10; y += 2) p.drawLine(5, y, 10, y);
    if (closed) {
        p.setPen(QColor(150, 30, 30));
        p.setBrush(QColor(200, 40, 40));
        p.drawRect(8, 8, 6, 6);
        p.setBrush(Qt::NoBrush);
        p.drawArc(9, 5, 4, 6, 0, 180 * 16);
    }
    return pixmap;
}

} // namespace

std::array<QIcon, 2> MakeTreeImages()
{
    return {QIcon(book(false)), QIcon(book(true))};
}
