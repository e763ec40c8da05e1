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
    static const std::array<QColor, 5> colours{QColor(0, 176, 0), QColor(240, 220, 0), QColor(220, 0, 0),
                                               QColor(150, 150, 150), QColor(160, 140, 0)};
    return draw(16, colours.at(static_cast<std::size_t>(index)));
}

QPixmap large(int index)
{
    static const std::array<QColor, 4> colours{QColor(150, 150, 150), QColor(240, 220, 0), QColor(220, 0, 0),
                                               QColor(0, 176, 0)};
    return draw(32, colours.at(static_cast<std::size_t>(index)));
}

}  // namespace lamps
