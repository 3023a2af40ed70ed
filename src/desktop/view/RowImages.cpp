#include "desktop/view/RowImages.h"

#include "game/BoardPicture.h"

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

QImage DrawBoardImage(const CBoardPicture& picture, int size, qreal ratio)
{
    const int pixels = qRound(size * ratio);
    QImage board(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    board.fill(Qt::transparent);
    board.setDevicePixelRatio(ratio);
    QPainter painter(&board);
    painter.setRenderHint(QPainter::Antialiasing);

    // The board keeps its own shape inside the square, a point's width of
    // wood around the outer lines.
    const int columns = std::max(picture.Width(), 1);
    const int rows = std::max(picture.Height(), 1);
    const qreal cell = qreal(size) / std::max(columns, rows);
    const QRectF wood(0, 0, cell * columns, cell * rows);
    const QPointF corner((size - wood.width()) / 2, (size - wood.height()) / 2);
    painter.translate(corner);
    painter.setPen(QPen(QColor(0x8A, 0x64, 0x2A), 1.0 / ratio));
    painter.setBrush(QColor(0xE3, 0xB8, 0x62));
    painter.drawRect(wood.adjusted(0.5 / ratio, 0.5 / ratio, -0.5 / ratio, -0.5 / ratio));

    // Lines only where a point is wide enough to tell them from the stones.
    if (cell * ratio >= 3) {
        painter.setPen(QPen(QColor(0xBE, 0x94, 0x4E), 1.0 / ratio));
        for (int x = 0; x < columns; ++x)
            painter.drawLine(QPointF((x + 0.5) * cell, cell / 2), QPointF((x + 0.5) * cell, wood.height() - cell / 2));
        for (int y = 0; y < rows; ++y)
            painter.drawLine(QPointF(cell / 2, (y + 0.5) * cell), QPointF(wood.width() - cell / 2, (y + 0.5) * cell));
    }

    // White stones get a rim where they are large enough to carry one.
    const QPen rim = cell * ratio >= 4 ? QPen(QColor(0x40, 0x40, 0x40), 0.6 / ratio) : QPen(Qt::NoPen);
    const qreal stone = std::max(cell * 0.94, 1.0 / ratio);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const EStone at = picture.At(x, y);
            if (at == EStone::Empty)
                continue;
            painter.setPen(at == EStone::Black ? QPen(Qt::NoPen) : rim);
            painter.setBrush(at == EStone::Black ? QColor(0x10, 0x10, 0x10) : QColor(0xFA, 0xFA, 0xFA));
            const QPointF centre((x + 0.5) * cell, (y + 0.5) * cell);
            painter.drawEllipse(centre, stone / 2, stone / 2);
        }
    }
    painter.end();
    return board;
}

QPixmap MarkBoardImage(const QImage& board, int image)
{
    QPixmap pixmap = QPixmap::fromImage(board);
    const qreal ratio = board.devicePixelRatio();
    const int size = qRound(board.width() / ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // The row picture over the corner, on a shadow of the ground so it
    // stands out from any stones beneath.
    const int mark = std::max(10, size / 4);
    const QRectF badge(size - mark, size - mark, mark, mark);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawRoundedRect(badge.adjusted(0.5, -0.5, 0, 0), 2, 2);
    painter.drawPixmap(badge.toRect(), DrawRowPicture(image, mark));
    return pixmap;
}
