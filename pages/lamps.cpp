#include "lamps.h"

#include <QColor>
#include <QPainter>
#include <QRadialGradient>
#include <array>

namespace lamps {

namespace {

QPixmap lamp(const QColor& colour, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A lit dome: bright off-centre, the colour itself at the rim.
    QRadialGradient dome(size * 0.35, size * 0.35, size * 0.6);
    dome.setColorAt(0, colour.lighter(170));
    dome.setColorAt(1, colour);
    painter.setBrush(dome);
    painter.setPen(QPen(colour.darker(180), 1));
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    return pixmap;
}

template <std::size_t N>
QPixmap pick(const std::array<QPixmap, N>& list, int index)
{
    return index >= 0 && index < static_cast<int>(N) ? list[static_cast<std::size_t>(index)] : QPixmap();
}

}  // namespace

QPixmap alarm(int index)
{
    static const std::array<QPixmap, AlarmCount> list = {lamp(QColor(0, 176, 0), 16), lamp(QColor(230, 210, 0), 16),
                                                         lamp(QColor(220, 0, 0), 16), lamp(QColor(150, 150, 150), 16),
                                                         lamp(QColor(128, 128, 0), 16)};
    return pick(list, index);
}

QPixmap system(int index)
{
    static const std::array<QPixmap, SystemCount> list = {lamp(QColor(96, 112, 128), 32), lamp(QColor(255, 170, 0), 32),
                                                          lamp(QColor(220, 0, 0), 32), lamp(QColor(0, 176, 0), 32)};
    return pick(list, index);
}

}  // namespace lamps
