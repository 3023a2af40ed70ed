#include "desktop/view/RowImages.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

QPixmap DrawRowPicture(int image, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);

    const bool large = size >= 20;
    const qreal left = large ? 5.5 : 1.5;
    const qreal top = 0.5;
    const qreal right = size - (large ? 5.5 : 1.5);
    const qreal bottom = size - 0.5;
    const qreal fold = large ? 7 : 3;

    // The page, its lower right corner folded over.
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right, top);
    page.lineTo(right, bottom - fold);
    page.lineTo(right - fold, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    const QColor paper = image == 1 ? QColor(0x33, 0xB0, 0x3A) : QColor(Qt::white);
    painter.fillPath(page, paper);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.drawPath(page);

    QPainterPath flap;
    flap.moveTo(right, bottom - fold);
    flap.lineTo(right - fold, bottom - fold);
    flap.lineTo(right - fold, bottom);
    painter.fillPath(flap, image == 1 ? paper.darker(130) : QColor(0xC8, 0xC8, 0xC8));
    painter.drawPath(flap);

    const QColor blue(0x10, 0x30, 0xD0);
    const QColor grey = image == 1 ? QColor(0xE0, 0xF0, 0xE0) : QColor(0x90, 0x90, 0x90);
    if (large) {
        QFont font;
        font.setPixelSize(8);
        font.setBold(true);
        font.setStretch(QFont::Condensed);
        painter.setFont(font);
        painter.setPen(blue);
        painter.drawText(QRectF(left + 1, top + 1.5, right - left - 2, 9), Qt::AlignCenter, QStringLiteral("MGT"));
        painter.setPen(QPen(grey, 1));
        for (qreal y = 14.5; y < bottom - 2; y += 3) {
            const qreal end = y > bottom - fold - 1 ? right - fold - 2 : right - 3;
            painter.drawLine(QPointF(left + 3, y), QPointF(end, y));
        }
    } else {
        // Too small for letters: a blue band stands for them.
        painter.fillRect(QRectF(left + 1.5, top + 1.5, right - left - 2.5, 2), blue);
        painter.setPen(QPen(grey, 1));
        painter.drawLine(QPointF(left + 1.5, 5.5), QPointF(right - 1.5, 5.5));
        painter.drawLine(QPointF(left + 1.5, 7.5), QPointF(right - fold - 0.5, 7.5));
    }
    return pixmap;
}

QIcon RowIcon(int image)
{
    QIcon icon;
    icon.addPixmap(DrawRowPicture(image, 32));
    icon.addPixmap(DrawRowPicture(image, 10));
    return icon;
}
