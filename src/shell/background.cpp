#include "shell/background.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap workAreaBackground(const QSize &size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0x2f, 0x4f, 0x7f));
    sky.setColorAt(1, QColor(0xc9, 0xd8, 0xea));
    painter.fillRect(pixmap.rect(), sky);

    // A row of house outlines along the bottom.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 60));
    const int ground = size.height() * 3 / 4;
    for (int x = 20, i = 0; x < size.width(); x += 150, ++i) {
        const int w = 90 + (i % 3) * 20;
        const int h = 70 + (i % 2) * 40;
        QPainterPath house;
        house.addRect(x, ground - h, w, h);
        house.moveTo(x - 10, ground - h);
        house.lineTo(x + w / 2.0, ground - h - 45);
        house.lineTo(x + w + 10, ground - h);
        house.closeSubpath();
        painter.drawPath(house);
    }
    painter.fillRect(0, ground, size.width(), size.height() - ground, QColor(255, 255, 255, 40));

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(30);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 220));
    painter.drawText(QRect(0, size.height() / 5, size.width(), 60), Qt::AlignCenter,
                     QStringLiteral("Pelmora"));
    font.setPointSize(16);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRect(0, size.height() / 5 + 60, size.width(), 40), Qt::AlignCenter,
                     QStringLiteral("Ingatlan Nyilvántartás"));
    return pixmap;
}
