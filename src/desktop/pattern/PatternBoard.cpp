#include "desktop/pattern/PatternBoard.h"

#include "desktop/preview/BoardPainter.h"
#include "game/GameTimeline.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kShade(60, 60, 60, 120);
const QColor kFrame(200, 30, 30);
const QColor kMark(40, 30, 20);

} // namespace

CPatternBoard::CPatternBoard(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("patternBoard"));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(false);
}

void CPatternBoard::SetSketch(const CPatternSketch& sketch)
{
    m_sketch = sketch;
    update();
}

void CPatternBoard::SetLetters(std::vector<SBoardLetter> letters)
{
    m_letters = std::move(letters);
    update();
}

QRectF CPatternBoard::BoardArea() const
{
    return QRectF(rect()).adjusted(2, 2, -2, -2);
}

QPoint CPatternBoard::PointCentre(int x, int y) const
{
    return BoardGeometry(BoardArea(), m_sketch.Size(), m_sketch.Size()).Centre(x, y).toPoint();
}

bool CPatternBoard::PointAt(const QPointF& at, int& x, int& y) const
{
    const int size = m_sketch.Size();
    return BoardGeometry(BoardArea(), size, size).PointAt(at, size, size, x, y);
}

int CPatternBoard::LetterAt(int x, int y) const
{
    for (std::size_t i = 0; i < m_letters.size(); ++i) {
        if (m_letters[i].x == x && m_letters[i].y == y)
            return static_cast<int>(i);
    }
    return -1;
}

void CPatternBoard::paintEvent(QPaintEvent* /*event*/)
{
    const int size = m_sketch.Size();
    SGamePosition position{CBoard(size, size), 0, 0, std::nullopt, false};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const char sign = m_sketch.SignAt(x, y);
            if (sign == 'X' || sign == 'O')
                position.board.Put(x, y, sign == 'X' ? EStone::Black : EStone::White);
        }
    }
    QPainter painter(this);
    const QRectF area = BoardArea();
    PaintBoard(painter, area, position);
    const SBoardGeometry geometry = BoardGeometry(area, size, size);
    const qreal cell = geometry.cell;
    if (cell <= 0)
        return;
    painter.setRenderHint(QPainter::Antialiasing, true);

    // The signs that are no stone: small marks of their own.
    QFont font = painter.font();
    font.setPixelSize(std::max(6, static_cast<int>(cell * 0.6)));
    font.setBold(true);
    painter.setFont(font);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const char sign = m_sketch.SignAt(x, y);
            if (sign != 'x' && sign != 'o' && sign != '*')
                continue;
            const QPointF centre = geometry.Centre(x, y);
            const QRectF box(centre - QPointF(cell * 0.4, cell * 0.4), QSizeF(cell * 0.8, cell * 0.8));
            if (sign == '*') {
                painter.setPen(QPen(kMark, std::max<qreal>(1.0, cell / 10)));
                painter.drawText(box, Qt::AlignCenter, QStringLiteral("*"));
                continue;
            }
            // Half a stone: the colour the point may hold, or nothing.
            painter.setPen(QPen(kMark, std::max<qreal>(1.0, cell / 20)));
            painter.setBrush(sign == 'x' ? QColor(24, 24, 24) : QColor(248, 248, 244));
            painter.drawEllipse(centre, cell * 0.22, cell * 0.22);
        }
    }

    // Outside the rectangle is not part of the pattern.
    if (m_sketch.HasRect()) {
        const SSketchRect rect = m_sketch.Rect();
        const QRectF inside(geometry.Centre(rect.left, rect.top) - QPointF(cell / 2, cell / 2),
                            QSizeF(rect.width * cell, rect.height * cell));
        QPainterPath shade;
        shade.addRect(geometry.whole);
        QPainterPath hole;
        hole.addRect(inside);
        painter.fillPath(shade.subtracted(hole), kShade);
        painter.setPen(QPen(kFrame, std::max<qreal>(1.5, cell / 12)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inside);
    }

    // The continuations: Black's as black letters on white, White's the
    // other way round.
    font.setPixelSize(std::max(6, static_cast<int>(cell * 0.62)));
    painter.setFont(font);
    for (const SBoardLetter& letter : m_letters) {
        const QPointF centre = geometry.Centre(letter.x, letter.y);
        const bool black = letter.colour == EStone::Black;
        painter.setPen(QPen(QColor(24, 24, 24), std::max<qreal>(1.0, cell / 24)));
        painter.setBrush(black ? QColor(255, 255, 255) : QColor(24, 24, 24));
        const QRectF box(centre - QPointF(cell * 0.44, cell * 0.44), QSizeF(cell * 0.88, cell * 0.88));
        painter.drawRoundedRect(box, cell * 0.15, cell * 0.15);
        painter.setPen(black ? QColor(0, 0, 0) : QColor(255, 255, 255));
        painter.drawText(box, Qt::AlignCenter, letter.letter);
    }
}

void CPatternBoard::mousePressEvent(QMouseEvent* event)
{
    int x = 0;
    int y = 0;
    if (event->button() != Qt::LeftButton || !PointAt(event->position(), x, y)) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_pressed = QPoint(x, y);
    m_dragging = false;
    event->accept();
}

void CPatternBoard::mouseMoveEvent(QMouseEvent* event)
{
    int x = 0;
    int y = 0;
    if (!m_pressed || !(event->buttons() & Qt::LeftButton) || !PointAt(event->position(), x, y))
        return;
    if (!m_dragging && QPoint(x, y) == *m_pressed)
        return;
    m_dragging = true;
    m_sketch.SetRect(m_pressed->x(), m_pressed->y(), x, y);
    update();
    emit SketchEdited();
}

void CPatternBoard::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint pressed = *m_pressed;
    m_pressed.reset();
    if (m_dragging) {
        m_dragging = false;
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int x = pressed.x();
    const int y = pressed.y();
    if (modifiers & Qt::ShiftModifier) {
        m_sketch.MarkAny(x, y);
    } else if (modifiers & Qt::ControlModifier) {
        m_sketch.CycleMaybe(x, y);
    } else if (const int letter = LetterAt(x, y); letter >= 0) {
        emit LetterClicked(letter);
        return;
    } else {
        m_sketch.CycleStone(x, y);
    }
    update();
    emit SketchEdited();
}

void CPatternBoard::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit SearchRequested();
        return;
    }
    // A letter key chooses the continuation of that letter (A to Z).
    if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QString letter(QChar(static_cast<char16_t>(u'A' + (event->key() - Qt::Key_A))));
        for (std::size_t i = 0; i < m_letters.size(); ++i) {
            if (m_letters[i].letter == letter) {
                event->accept();
                emit LetterClicked(static_cast<int>(i));
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}
