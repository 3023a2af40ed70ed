#include "desktop/preview/BoardPainter.h"

#include "game/BoardLabels.h"
#include "game/GameTimeline.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor kWood(222, 184, 110);
const QColor kLine(40, 30, 20);
const QColor kBlack(24, 24, 24);
const QColor kWhite(248, 248, 244);

// The room the coordinates take on each side, in cells.
constexpr qreal kLabelCells = 0.8;

} // namespace

SBoardGeometry BoardGeometry(const QRectF& area, int columns, int rows)
{
    SBoardGeometry geometry;
    const qreal cell = std::min(area.width() / (columns + 2 * kLabelCells), area.height() / (rows + 2 * kLabelCells));
    if (cell <= 0)
        return geometry;
    geometry.cell = cell;
    const QSizeF size((columns + 2 * kLabelCells) * cell, (rows + 2 * kLabelCells) * cell);
    geometry.whole = QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
    geometry.origin = geometry.whole.topLeft() + QPointF((kLabelCells + 0.5) * cell, (kLabelCells + 0.5) * cell);
    return geometry;
}

bool SBoardGeometry::PointAt(const QPointF& at, int columns, int rows, int& x, int& y) const
{
    if (cell <= 0)
        return false;
    const QPointF offset = (at - origin) / cell;
    x = static_cast<int>(std::floor(offset.x() + 0.5));
    y = static_cast<int>(std::floor(offset.y() + 0.5));
    return x >= 0 && y >= 0 && x < columns && y < rows;
}

void PaintBoard(QPainter& painter, const QRectF& area, const SGamePosition& position)
{
    const CBoard& board = position.board;
    const int columns = board.Width();
    const int rows = board.Height();
    const SBoardGeometry geometry = BoardGeometry(area, columns, rows);
    const qreal cell = geometry.cell;
    if (cell <= 0)
        return;
    const QRectF whole = geometry.whole;
    const auto at = [&](int x, int y) { return geometry.Centre(x, y); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(whole, kWood);

    QPen line(kLine);
    line.setWidthF(std::max<qreal>(1.0, cell / 28));
    line.setCapStyle(Qt::FlatCap);
    painter.setPen(line);
    for (int x = 0; x < columns; ++x)
        painter.drawLine(at(x, 0), at(x, rows - 1));
    for (int y = 0; y < rows; ++y)
        painter.drawLine(at(0, y), at(columns - 1, y));
    painter.setBrush(kLine);
    painter.setPen(Qt::NoPen);
    const qreal star = std::max<qreal>(1.5, cell * 0.1);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            if (IsStarPoint(x, y, columns, rows))
                painter.drawEllipse(at(x, y), star, star);
        }
    }

    QFont font = painter.font();
    font.setPixelSize(std::max(6, static_cast<int>(cell * 0.5)));
    painter.setFont(font);
    painter.setPen(kLine);
    const qreal band = kLabelCells * cell;
    for (int x = 0; x < columns; ++x) {
        const QString label = QString::fromStdString(ColumnLabel(x));
        const qreal left = at(x, 0).x() - cell / 2;
        painter.drawText(QRectF(left, whole.top(), cell, band), Qt::AlignCenter, label);
        painter.drawText(QRectF(left, whole.bottom() - band, cell, band), Qt::AlignCenter, label);
    }
    for (int y = 0; y < rows; ++y) {
        const QString label = QString::fromStdString(RowLabel(y, rows));
        const qreal top = at(0, y).y() - cell / 2;
        painter.drawText(QRectF(whole.left(), top, band, cell), Qt::AlignCenter, label);
        painter.drawText(QRectF(whole.right() - band, top, band, cell), Qt::AlignCenter, label);
    }

    const qreal radius = cell * 0.48;
    QPen edge(kBlack);
    edge.setWidthF(std::max<qreal>(1.0, cell / 18));
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const EStone stone = board.At(x, y);
            if (stone == EStone::Empty)
                continue;
            painter.setPen(edge);
            painter.setBrush(stone == EStone::Black ? kBlack : kWhite);
            painter.drawEllipse(at(x, y), radius - edge.widthF() / 2, radius - edge.widthF() / 2);
        }
    }

    if (position.lastMove && !position.lastMoveIrregular && position.lastMove->kind == SGameMove::EKind::Play) {
        const int x = position.lastMove->x;
        const int y = position.lastMove->y;
        if (board.OnBoard(x, y) && board.At(x, y) != EStone::Empty) {
            QPen ring(board.At(x, y) == EStone::Black ? kWhite : kBlack);
            ring.setWidthF(std::max<qreal>(1.0, cell / 14));
            painter.setPen(ring);
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(at(x, y), cell * 0.24, cell * 0.24);
        }
    }
    painter.restore();
}

QImage RenderDiagram(const SGamePosition& position, qreal cell, qreal pixelRatio)
{
    const QSize size(qRound((position.board.Width() + 2 * kLabelCells) * cell),
                     qRound((position.board.Height() + 2 * kLabelCells) * cell));
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintBoard(painter, QRectF(QPointF(0, 0), QSizeF(size)), position);
    return image;
}
