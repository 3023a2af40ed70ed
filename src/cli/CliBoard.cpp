#include "cli/CliBoard.h"

#include "cli/CliCommands.h"
#include "cli/CliEscape.h"
#include "game/BoardLabels.h"
#include "game/GameTimeline.h"
#include "reader/GameRecordReader.h"
#include "settings/StringTable.h"

#include <cerrno>
#include <ostream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string OpenFailure(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::error_code(errno, std::generic_category()).message();
    ::close(fd);
    return LoadResString(IDS_GAME_CANNOT_OPEN);
}

char StoneChar(EStone stone)
{
    return stone == EStone::Black ? 'X' : stone == EStone::White ? 'O' : '.';
}

// The board for people: column letters above and below, row numbers on
// both sides, stars as "+", the last stone played in parentheses.
void AppendPretty(std::string& text, const SGamePosition& position, int moves)
{
    const CBoard& board = position.board;
    const int width = board.Width();
    const int height = board.Height();
    const std::size_t cell = width > 25 ? 3 : 2;
    const std::size_t margin = RowLabel(0, height).size();
    text += "moves " + std::to_string(moves) + ", shown after move " + std::to_string(position.moveNumber) +
            ", captures: black " + std::to_string(board.Captures(EStone::Black)) + ", white " +
            std::to_string(board.Captures(EStone::White)) + '\n';

    std::string letters(margin, ' ');
    for (int x = 0; x < width; ++x) {
        const std::string label = ColumnLabel(x);
        letters += std::string(cell - label.size(), ' ') + label;
    }
    text += letters + '\n';

    int lastX = -1;
    int lastY = -1;
    if (position.lastMove && !position.lastMoveIrregular && position.lastMove->kind == SGameMove::EKind::Play) {
        lastX = position.lastMove->x;
        lastY = position.lastMove->y;
    }
    for (int y = 0; y < height; ++y) {
        const std::string label = RowLabel(y, height);
        std::string row = std::string(margin - label.size(), ' ') + label;
        for (int x = 0; x < width; ++x) {
            const EStone stone = board.At(x, y);
            char shown = StoneChar(stone);
            if (stone == EStone::Empty && IsStarPoint(x, y, width, height))
                shown = '+';
            row += std::string(cell - 1, ' ');
            if (x == lastX && y == lastY)
                row.back() = '(';
            else if (x == lastX + 1 && y == lastY)
                row.back() = ')';
            row += shown;
        }
        row += y == lastY && lastX == width - 1 ? ")" : " ";
        text += row + label + '\n';
    }
    text += letters + '\n';
}

} // namespace

int RunBoard(const std::vector<std::string>& files, std::optional<int> move, bool pretty, std::ostream& out,
             std::ostream& err)
{
    std::string text;
    for (const std::string& file : files) {
        const SGameRecord record = ReadGameRecordFile(file);
        text.clear();
        AppendEscapedField(text, file);
        if (!record.HasGame()) {
            text += "\tfail\n";
            out << text;
            const std::string reason = record.problem == EGameProblem::CannotOpen
                                           ? OpenFailure(file)
                                           : LoadResString(GameProblemStringId(record.problem));
            err << "varnex-cli: " << EscapeField(file) << ": " << reason << '\n';
            continue;
        }
        const CGameTimeline timeline(record);
        if (record.unplayableSize)
            err << "varnex-cli: " << EscapeField(file) << ": " << LoadResString(IDS_GAME_BAD_SIZE) << '\n';
        if (record.problem != EGameProblem::None)
            err << "varnex-cli: " << EscapeField(file) << ": " << LoadResString(GameProblemStringId(record.problem))
                << '\n';
        if (timeline.CutShort())
            err << "varnex-cli: " << EscapeField(file) << ": "
                << LoadResString(GameProblemStringId(EGameProblem::TooLongToPlay)) << '\n';
        const SGamePosition position = move ? timeline.At(*move) : timeline.AtEnd();
        if (pretty) {
            text += '\n';
            AppendPretty(text, position, timeline.MoveCount());
        } else {
            text += '\t' + std::to_string(timeline.MoveCount()) + '\t' + BoardRows(position.board) + '\n';
        }
        out << text;
    }
    out.flush();
    return kExitOk;
}
