#include "pattern/PatternPlacements.h"

#include <tuple>
#include <unordered_set>

bool SymmetryTransposes(int symmetry)
{
    return (symmetry & 4) != 0;
}

SGridPoint ApplySymmetry(int symmetry, int w, int h, SGridPoint p)
{
    if (SymmetryTransposes(symmetry)) {
        std::swap(p.x, p.y);
        std::swap(w, h);
    }
    if (symmetry & 1)
        p.x = w - 1 - p.x;
    if (symmetry & 2)
        p.y = h - 1 - p.y;
    return p;
}

SGridPoint UndoSymmetry(int symmetry, int w, int h, SGridPoint p)
{
    if (SymmetryTransposes(symmetry))
        std::swap(w, h);
    if (symmetry & 1)
        p.x = w - 1 - p.x;
    if (symmetry & 2)
        p.y = h - 1 - p.y;
    if (SymmetryTransposes(symmetry))
        std::swap(p.x, p.y);
    return p;
}

std::string TransformSigns(const std::string& signs, int w, int h, int symmetry, bool exchanged)
{
    const int outWidth = SymmetryTransposes(symmetry) ? h : w;
    std::string out(signs.size(), '*');
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const SGridPoint to = ApplySymmetry(symmetry, w, h, {x, y});
            const char sign = signs[static_cast<std::size_t>(y * w + x)];
            out[static_cast<std::size_t>(to.y * outWidth + to.x)] = exchanged ? ExchangedSign(sign) : sign;
        }
    }
    return out;
}

namespace {

// The first coordinates a rectangle of extent along an axis of size may
// take: where it touches an edge it stays, else it keeps off both edges.
std::pair<int, int> SlideRange(int start, int extent, int size)
{
    if (start == 0 || start + extent == size)
        return {start, start};
    return {1, size - extent - 1};
}

} // namespace

std::vector<SPlacement> PatternPlacements(const SPattern& pattern)
{
    std::vector<SPlacement> placements;
    std::unordered_set<std::string> seen;
    const int size = pattern.boardSize;
    for (int exchange = 0; exchange < (pattern.fixedColours ? 1 : 2); ++exchange) {
        for (int symmetry = 0; symmetry < kSymmetryCount; ++symmetry) {
            // The rectangle's corners under the board's symmetry.
            const SGridPoint a = ApplySymmetry(symmetry, size, size, {pattern.left, pattern.top});
            const SGridPoint b = ApplySymmetry(symmetry, size, size,
                                               {pattern.left + pattern.width - 1, pattern.top + pattern.height - 1});
            SPlacement base;
            base.symmetry = symmetry;
            base.exchanged = exchange == 1;
            base.left = std::min(a.x, b.x);
            base.top = std::min(a.y, b.y);
            base.width = std::abs(a.x - b.x) + 1;
            base.height = std::abs(a.y - b.y) + 1;
            base.signs = TransformSigns(pattern.signs, pattern.width, pattern.height, symmetry, base.exchanged);
            const auto [x0, x1] = SlideRange(base.left, base.width, size);
            const auto [y0, y1] = SlideRange(base.top, base.height, size);
            for (int y = y0; y <= y1; ++y) {
                for (int x = x0; x <= x1; ++x) {
                    std::string key = base.signs;
                    key += ':' + std::to_string(x) + ',' + std::to_string(y) + ',' + std::to_string(base.width);
                    if (!seen.insert(std::move(key)).second)
                        continue;
                    SPlacement placement = base;
                    placement.left = x;
                    placement.top = y;
                    placements.push_back(std::move(placement));
                }
            }
        }
    }
    return placements;
}

SPatternMove MoveThroughPlacement(const SPattern& pattern, const SPlacement& placement, int x, int y, EStone colour)
{
    const SGridPoint p =
        UndoSymmetry(placement.symmetry, pattern.width, pattern.height, {x - placement.left, y - placement.top});
    return {pattern.left + p.x, pattern.top + p.y, placement.exchanged ? Opponent(colour) : colour,
            placement.exchanged};
}

std::vector<SSelfSymmetry> PatternSelfSymmetries(const SPattern& pattern)
{
    std::vector<SSelfSymmetry> found;
    for (int exchange = 0; exchange < (pattern.fixedColours ? 1 : 2); ++exchange) {
        for (int symmetry = 0; symmetry < kSymmetryCount; ++symmetry) {
            if (SymmetryTransposes(symmetry) && pattern.width != pattern.height)
                continue;
            if (TransformSigns(pattern.signs, pattern.width, pattern.height, symmetry, exchange == 1) == pattern.signs)
                found.push_back({symmetry, exchange == 1});
        }
    }
    return found;
}

bool PatternMoveBefore(const SPatternMove& a, const SPatternMove& b)
{
    const auto key = [](const SPatternMove& m) {
        return std::make_tuple(static_cast<unsigned char>(SgfCoordinateLetter(m.x)),
                               static_cast<unsigned char>(SgfCoordinateLetter(m.y)), m.colour != EStone::Black,
                               m.exchanged);
    };
    return key(a) < key(b);
}

SPatternMove CanonicalPatternMove(const SPattern& pattern, const std::vector<SSelfSymmetry>& selfSymmetries,
                                  const SPatternMove& move)
{
    SPatternMove best = move;
    for (const SSelfSymmetry& s : selfSymmetries) {
        const SGridPoint p =
            ApplySymmetry(s.symmetry, pattern.width, pattern.height, {move.x - pattern.left, move.y - pattern.top});
        const SPatternMove image{pattern.left + p.x, pattern.top + p.y,
                                 s.exchanged ? Opponent(move.colour) : move.colour, move.exchanged != s.exchanged};
        if (PatternMoveBefore(image, best))
            best = image;
    }
    return best;
}
