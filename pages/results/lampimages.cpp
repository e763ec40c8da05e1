#include "lampimages.h"

#include <QPainter>
#include <QRadialGradient>
#include <array>

namespace lamps {

namespace {

QPixmap draw(int size, const QColor& colour)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1, 1, size - 2, size - 2);
    QRadialGradient glow(box.center() - QPointF(size / 6.0, size / 6.0), size / 1.6);
    glow.setColorAt(0, colour.lighter(170));
    glow.setColorAt(1, colour.darker(115));
    painter.setBrush(glow);
    painter.setPen(QPen(colour.darker(180), 1));
    painter.drawEllipse(box);
    return pixmap;
}

}  // namespace

QPixmap small(int index)
{
    static const std::array<QPixmap, 5> pictures{draw(16, QColor(0, 176, 0)), draw(16, QColor(240, 220, 0)),
                                                 draw(16, QColor(220, 0, 0)), draw(16, QColor(150, 150, 150)),
                                                 draw(16, QColor(160, 140, 0))};
    return pictures.at(static_cast<std::size_t>(index));
}

QPixmap large(int index)
{
    static const std::array<QPixmap, 4> pictures{draw(32, QColor(150, 150, 150)), draw(32, QColor(240, 220, 0)),
                                                 draw(32, QColor(220, 0, 0)), draw(32, QColor(0, 176, 0))};
    return pictures.at(static_cast<std::size_t>(index));
}

}  // namespace lamps
