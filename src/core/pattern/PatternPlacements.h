#pragma once

#include "pattern/Pattern.h"

#include <cstdint>
#include <string>
#include <vector>

// The 8 symmetries of a rectangle of width w and height h, numbered 0-7:
// bit 2 transposes (the width becomes the height), then bit 0 mirrors left
// and right and bit 1 top and bottom. On a square board the same numbers
// are the board's symmetries, and a rectangle and its signs move together.
struct SGridPoint
{
    int x = 0;
    int y = 0;
};
constexpr int kSymmetryCount = 8;
bool SymmetryTransposes(int symmetry);
SGridPoint ApplySymmetry(int symmetry, int w, int h, SGridPoint p);
// The inverse: a point of the transformed w x h rectangle (given by the
// original's w and h) back onto the original.
SGridPoint UndoSymmetry(int symmetry, int w, int h, SGridPoint p);
// The signs of a w x h grid under a symmetry, colours exchanged or not.
std::string TransformSigns(const std::string& signs, int w, int h, int symmetry, bool exchanged);

// One place the pattern may stand: its rectangle on the board and the signs
// it shows there, reached by a symmetry of the board and perhaps an
// exchange of colours.
struct SPlacement
{
    int symmetry = 0;
    bool exchanged = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string signs;

    bool Contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
};

// Every placement of the pattern, those that stand on the same points with
// the same signs given once: the first of them, those keeping the colours
// first, then by symmetry, then from the top left.
std::vector<SPlacement> PatternPlacements(const SPattern& pattern);

// A move in the pattern's own terms: a point of the board as the pattern
// was drawn and its colour; exchanged tells whether the game's colours were
// exchanged to get there (so its winner is too).
struct SPatternMove
{
    int x = 0;
    int y = 0;
    EStone colour = EStone::Black;
    bool exchanged = false;
};

// A game's move (x, y, colour) seen through a placement that contains it.
SPatternMove MoveThroughPlacement(const SPattern& pattern, const SPlacement& placement, int x, int y, EStone colour);

// The symmetries (with colours exchanged or not) under which the pattern's
// own rectangle shows the same signs; the identity is the first.
struct SSelfSymmetry
{
    int symmetry = 0;
    bool exchanged = false;
};
std::vector<SSelfSymmetry> PatternSelfSymmetries(const SPattern& pattern);

// Order of moves: by SGF point name, then Black before White, then the one
// that keeps the colours.
bool PatternMoveBefore(const SPatternMove& a, const SPatternMove& b);
// The first move, in that order, of those the pattern's self-symmetries map
// move onto: continuations that look the same are counted as one.
SPatternMove CanonicalPatternMove(const SPattern& pattern, const std::vector<SSelfSymmetry>& selfSymmetries,
                                  const SPatternMove& move);
