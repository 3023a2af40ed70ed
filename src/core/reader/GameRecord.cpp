#include "reader/GameRecord.h"

#include "settings/StringTable.h"

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
                points.push_back(
                    {rect.beforeMove, rect.stone, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
        }
    }
    return points;
}

int GameProblemStringId(EGameProblem problem)
{
    switch (problem) {
    case EGameProblem::None:
        return 0;
    case EGameProblem::CannotOpen:
        return IDS_GAME_CANNOT_OPEN;
    case EGameProblem::NoGameTree:
        return IDS_GAME_NO_TREE;
    case EGameProblem::BinaryForm:
        return IDS_GAME_BINARY;
    case EGameProblem::CutOff:
        return IDS_GAME_CUT_OFF;
    case EGameProblem::ValueCutOff:
        return IDS_GAME_VALUE_CUT_OFF;
    case EGameProblem::TooManyStones:
        return IDS_GAME_TOO_MANY_STONES;
    case EGameProblem::TooLongToPlay:
        return IDS_GAME_TOO_LONG;
    case EGameProblem::Stopped:
        return IDS_GAME_STOPPED;
    case EGameProblem::TooLarge:
        return IDS_GAME_TOO_LARGE;
    }
    return 0;
}
