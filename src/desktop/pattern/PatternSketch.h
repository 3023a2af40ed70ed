#pragma once

#include "reader/GameRecord.h"

#include <optional>
#include <string>

class CBoard;

// The rectangle of the board a pattern covers, in points.
struct SSketchRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool Contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
    bool operator==(const SSketchRect&) const = default;
};

// Where a rectangle may stand, which follows from the edges it touches.
enum class ERectKind { WholeBoard, Corner, Side, Centre };

// The pattern as it is being drawn: one sign a point of a square board
// (X O . x o *, as the pattern text writes them) and the rectangle chosen,
// none meaning the whole board. The board shows every point; only those
// inside the rectangle make the pattern.
class CPatternSketch
{
public:
    explicit CPatternSketch(int size = SGameRecord::kDefaultSize);

    int Size() const { return m_size; }
    char SignAt(int x, int y) const { return m_signs[Index(x, y)]; }
    void SetSign(int x, int y, char sign) { m_signs[Index(x, y)] = sign; }

    // The stones of board (of its size), every other point empty; the
    // rectangle is kept when it still fits.
    void SetFromBoard(const CBoard& board);
    // Every point empty, no rectangle.
    void Clear();

    // A plain click: empty, black, white, empty again (a wildcard becomes empty).
    void CycleStone(int x, int y);
    // Ctrl+click: black-or-empty, white-or-empty, in turn.
    void CycleMaybe(int x, int y);
    // Shift+click: anything.
    void MarkAny(int x, int y) { SetSign(x, y, '*'); }

    // The rectangle between two corner points, in any order.
    void SetRect(int x1, int y1, int x2, int y2);
    void ClearRect() { m_rect.reset(); }
    bool HasRect() const { return m_rect.has_value(); }
    // The rectangle chosen, or the whole board.
    SSketchRect Rect() const;
    ERectKind Kind() const;

    // The pattern's text: the rectangle as "aa:gg" or "all", its rows from
    // the top joined by '/'.
    std::string RegionText() const;
    std::string RowsText() const;

    // Plays colour at (x, y) onto the stones drawn: stones left without
    // liberties are taken off. Wildcards count as empty points for this.
    void Play(int x, int y, EStone colour);

    bool operator==(const CPatternSketch&) const = default;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * m_size + x); }

    int m_size;
    std::string m_signs;
    std::optional<SSketchRect> m_rect;
};

// The words for a kind: "corner", "side", "centre", "whole board".
const char* RectKindWords(ERectKind kind);
