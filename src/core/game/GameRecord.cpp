#include "game/GameRecord.h"

#include <algorithm>

const std::string* SGameRecord::CommentAt(std::uint32_t n) const
{
    const auto it = std::lower_bound(comments.begin(), comments.end(), n,
                                     [](const SNodeComment& c, std::uint32_t move) { return c.afterMove < move; });
    return it != comments.end() && it->afterMove == n ? &it->text : nullptr;
}

std::vector<SSetupPoint> ExpandSetup(const SGameRecord& record)
{
    std::vector<SSetupPoint> points;
    for (const SSetupRect& rect : record.setup) {
        for (int y = rect.top; y <= rect.bottom; ++y) {
            for (int x = rect.left; x <= rect.right; ++x)
                points.push_back({rect.beforeMove, rect.stone, static_cast<std::uint8_t>(x),
                                  static_cast<std::uint8_t>(y)});
        }
    }
    return points;
}
