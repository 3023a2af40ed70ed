#pragma once

#include "desktop/pattern/PatternSketch.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

// A letter on the board for one continuation: at its point, in its colour.
struct SBoardLetter
{
    int x = 0;
    int y = 0;
    EStone colour = EStone::Black;
    QString letter;
};

// The board a pattern is drawn on. Dragging with the left button chooses
// the rectangle (the rest greys out); a click cycles a point through empty,
// black and white, Shift+click marks it "anything", Ctrl+click cycles
// black-or-empty and white-or-empty. A click on a continuation's letter
// chooses that continuation instead, as does its letter's key (A to Z).
// Enter asks for a search.
class CPatternBoard : public QWidget
{
    Q_OBJECT
public:
    explicit CPatternBoard(QWidget* parent = nullptr);

    const CPatternSketch& Sketch() const { return m_sketch; }
    void SetSketch(const CPatternSketch& sketch);
    void SetLetters(std::vector<SBoardLetter> letters);
    const std::vector<SBoardLetter>& Letters() const { return m_letters; }

    // The centre of the point (x, y) in the widget, for whoever drives it.
    QPoint PointCentre(int x, int y) const;

    QSize sizeHint() const override { return {320, 320}; }
    QSize minimumSizeHint() const override { return {240, 240}; }

signals:
    // The signs or the rectangle changed by the user's hand.
    void SketchEdited();
    void SearchRequested();
    // The continuation with this index in the letters was clicked.
    void LetterClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRectF BoardArea() const;
    bool PointAt(const QPointF& at, int& x, int& y) const;
    int LetterAt(int x, int y) const;

    CPatternSketch m_sketch;
    std::vector<SBoardLetter> m_letters;
    // The point a press of the left button started on, while it is held.
    std::optional<QPoint> m_pressed;
    bool m_dragging = false;
};
