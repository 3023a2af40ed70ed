#include "reader/GameRecordReader.h"

#include "util/TextTrim.h"

#include "files/FileInput.h"
#include "reader/BinaryReader.h"
#include "reader/GameFileForm.h"
#include "reader/RecordTokenizer.h"
#include "reader/RootNode.h"
#include "reader/TextStream.h"

#include <algorithm>
#include <charconv>

#include <sys/stat.h>

namespace {

// A problem collection sets up a few hundred stones per diagram; this many
// (clipped to the board) means a file made to keep the board busy.
constexpr std::uint64_t kMaxSetupPoints = 4'000'000;

// SGF point letters: a-z are 0 to 25, A-Z 26 to 51.
int PointLetter(char c)
{
    if (c >= 'a' && c <= 'z')
        return c - 'a';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 26;
    return -1;
}

bool ParsePoint(std::string_view text, int& x, int& y)
{
    if (text.size() != 2)
        return false;
    x = PointLetter(text[0]);
    y = PointLetter(text[1]);
    return x >= 0 && y >= 0;
}

std::string_view Trimmed(std::string_view text)
{
    return TrimmedBy(text, [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

bool ParseSide(std::string_view text, int& side)
{
    text = Trimmed(text);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    return error == std::errc() && end == text.data() + text.size() && side >= 1 && side <= SGameRecord::kMaxSize;
}

// One pass over the game tree, on the tokens the list reads the root node
// with. The main line is every node met before the first ")": each "(" met
// on the way opens the first child of the node before it, so the first ")"
// closes the last node of the main line, and the variations after it are
// never read.
class CMainLineReader
{
public:
    CMainLineReader(CTextStream& stream, SGameRecord& record, const StopCheck& stop, std::uint64_t maxBytes)
        : m_tokens(stream), m_record(record), m_stop(stop), m_maxBytes(maxBytes)
    {
    }

    void Run()
    {
        // The root node starts where the list reader finds it, bare or
        // after the first ";"; its properties are read again below, with
        // the rest, so that they are interpreted too.
        CPropertyTable bare;
        if (FindRootNode(m_tokens, m_maxBytes, bare) == ERootStart::None) {
            m_record.problem = EGameProblem::NoGameTree;
            return;
        }
        m_tokens.SetLimit(m_maxBytes);
        m_record.problem = ReadNodes();
        if (m_record.problem == EGameProblem::TooLarge)
            m_record = SGameRecord{}, m_record.problem = EGameProblem::TooLarge;
    }

private:
    EGameProblem ReadNodes()
    {
        // The identifier of the value to come: a value with no identifier
        // before it (only blanks since the last value) is one more value of
        // the same property.
        char id[CRecordTokenizer::kMaxIdLetters];
        std::size_t letters = 0;
        bool named = false;
        for (;;) {
            switch (m_tokens.Next()) {
            case ERecordToken::Identifier:
                letters = m_tokens.Id().size();
                m_tokens.Id().copy(id, letters);
                named = true;
                break;
            case ERecordToken::Value: {
                const std::string& value = m_tokens.Value();
                const bool more = !named && !m_lastId.empty();
                const std::string_view storedId(id, named ? letters : 0);
                if (m_inRoot)
                    m_record.root.Set(storedId, value);
                if (!more)
                    m_lastId.assign(storedId);
                if (!Interpret(more ? std::string_view(m_lastId) : storedId, more, value)) {
                    EndNode();
                    return EGameProblem::TooManyStones;
                }
                named = false;
                break;
            }
            case ERecordToken::Semicolon:
            case ERecordToken::Open:
                // An identifier without a value is dropped with its node.
                named = false;
                if (!EndNode())
                    return EGameProblem::TooManyStones;
                if (m_stop && ++m_nodes % kNodesPerStopCheck == 0 && m_stop())
                    return EGameProblem::Stopped;
                break;
            case ERecordToken::Close:
                return EndNode() ? EGameProblem::None : EGameProblem::TooManyStones;
            case ERecordToken::End:
                return EndNode() ? EGameProblem::CutOff : EGameProblem::TooManyStones;
            case ERecordToken::ValueCutOff:
                EndNode();
                return EGameProblem::ValueCutOff;
            case ERecordToken::TooLarge:
                return EGameProblem::TooLarge;
            }
        }
    }

    // False when the setup stones read so far pass any sensible count.
    bool Interpret(std::string_view id, bool more, const std::string& value)
    {
        if (id == "B" || id == "W") {
            if (!more)
                AddMove(id == "B" ? EStone::Black : EStone::White, value);
        } else if (id == "AB" || id == "AW" || id == "AE") {
            return AddSetup(id == "AB" ? EStone::Black : id == "AW" ? EStone::White : EStone::Empty, value);
        } else if (id == "C" && !more) {
            if (!m_comment.empty())
                m_comment += '\n';
            m_comment += value;
        } else if (id == "PL" && !more && m_record.moves.empty()) {
            const std::string_view side = Trimmed(value);
            if (!side.empty() && (side[0] == 'B' || side[0] == 'b'))
                m_record.firstPlayer = EStone::Black;
            else if (!side.empty() && (side[0] == 'W' || side[0] == 'w'))
                m_record.firstPlayer = EStone::White;
        } else if (id == "SZ" && !more && m_inRoot) {
            int width = 0;
            int height = 0;
            // The last SZ of the root decides, as in the list; one that no
            // board can have leaves the default board, with a note.
            const bool playable = ParseBoardSize(value, width, height);
            m_record.width = playable ? width : SGameRecord::kDefaultSize;
            m_record.height = playable ? height : SGameRecord::kDefaultSize;
            m_record.unplayableSize = !playable;
        }
        return true;
    }

    void AddMove(EStone colour, const std::string& value)
    {
        SGameMove move;
        move.colour = colour;
        int x = 0;
        int y = 0;
        // The size may still change in the root node, so tt is decided at
        // the end of the node.
        if (value.empty())
            move.kind = SGameMove::EKind::Pass;
        else if (ParsePoint(value, x, y))
            move.x = static_cast<std::uint8_t>(x), move.y = static_cast<std::uint8_t>(y);
        else
            move.kind = SGameMove::EKind::Unreadable;
        m_record.moves.push_back(move);
    }

    // Keeps a setup value for the end of the node. Its points are counted
    // as they are read, so a node of millions of values stops at the limit
    // instead of being held whole: outside the root the board is known and
    // a value off it is dropped at once; in the root, where SZ may still
    // come, a point counts whether it ends up on the board or not. False
    // when the count passes the limit.
    bool AddSetup(EStone stone, std::string_view value)
    {
        int x1 = 0;
        int y1 = 0;
        int x2 = 0;
        int y2 = 0;
        const std::size_t colon = value.find(':');
        if (colon == std::string_view::npos) {
            if (!ParsePoint(value, x1, y1))
                return true;
            x2 = x1;
            y2 = y1;
        } else if (!ParsePoint(value.substr(0, colon), x1, y1) || !ParsePoint(value.substr(colon + 1), x2, y2)) {
            return true;
        }
        SSetupRect rect;
        rect.stone = stone;
        rect.left = static_cast<std::uint8_t>(std::min(x1, x2));
        rect.right = static_cast<std::uint8_t>(std::max(x1, x2));
        rect.top = static_cast<std::uint8_t>(std::min(y1, y2));
        rect.bottom = static_cast<std::uint8_t>(std::max(y1, y2));
        if (!m_inRoot) {
            if (rect.left >= m_record.width || rect.top >= m_record.height)
                return true;
            rect.right = static_cast<std::uint8_t>(std::min<int>(rect.right, m_record.width - 1));
            rect.bottom = static_cast<std::uint8_t>(std::min<int>(rect.bottom, m_record.height - 1));
        }
        m_pendingPoints += std::uint64_t{rect.right - rect.left + 1u} * (rect.bottom - rect.top + 1u);
        if (m_setupPoints + m_pendingPoints > kMaxSetupPoints)
            return false;
        m_pending.push_back(rect);
        return true;
    }

    // Closes the node: its setup goes before its move (clipped to the board,
    // known by now), tt becomes a pass where it is one, and its comment is
    // kept. False when the setup stones pass any sensible count.
    bool EndNode()
    {
        const bool passIsTt = m_record.width <= 19 && m_record.height <= 19;
        for (std::size_t i = m_nodeFirstMove; i < m_record.moves.size(); ++i) {
            SGameMove& move = m_record.moves[i];
            if (passIsTt && move.kind == SGameMove::EKind::Play && move.x == 19 && move.y == 19)
                move.kind = SGameMove::EKind::Pass;
        }
        bool ok = true;
        for (SSetupRect rect : m_pending) {
            if (rect.left >= m_record.width || rect.top >= m_record.height)
                continue;
            rect.right = static_cast<std::uint8_t>(std::min<int>(rect.right, m_record.width - 1));
            rect.bottom = static_cast<std::uint8_t>(std::min<int>(rect.bottom, m_record.height - 1));
            m_setupPoints += std::uint64_t{rect.right - rect.left + 1u} * (rect.bottom - rect.top + 1u);
            if (m_setupPoints > kMaxSetupPoints) {
                ok = false;
                break;
            }
            rect.beforeMove = static_cast<std::uint32_t>(m_nodeFirstMove);
            m_record.setup.push_back(rect);
        }
        m_pending.clear();
        m_pendingPoints = 0;
        if (!m_comment.empty()) {
            const auto after = static_cast<std::uint32_t>(m_record.moves.size());
            if (!m_record.comments.empty() && m_record.comments.back().afterMove == after)
                m_record.comments.back().text += '\n' + m_comment;
            else
                m_record.comments.push_back({after, std::move(m_comment)});
            m_comment.clear();
        }
        m_nodeFirstMove = m_record.moves.size();
        m_inRoot = false;
        m_lastId.clear();
        return ok;
    }

    // Some milliseconds of reading between two questions.
    static constexpr std::uint64_t kNodesPerStopCheck = 4096;

    CRecordTokenizer m_tokens;
    SGameRecord& m_record;
    const StopCheck& m_stop;
    const std::uint64_t m_maxBytes;
    std::uint64_t m_nodes = 0;
    bool m_inRoot = true;
    std::string m_lastId;
    std::vector<SSetupRect> m_pending;
    std::string m_comment;
    std::size_t m_nodeFirstMove = 0;
    std::uint64_t m_setupPoints = 0;
    // The points of m_pending, as counted when they were read.
    std::uint64_t m_pendingPoints = 0;
};

} // namespace

bool ParseBoardSize(std::string_view value, int& width, int& height)
{
    const std::size_t colon = value.find(':');
    if (colon == std::string_view::npos) {
        if (!ParseSide(value, width))
            return false;
        height = width;
        return true;
    }
    return ParseSide(value.substr(0, colon), width) && ParseSide(value.substr(colon + 1), height);
}

SGameRecord ReadGameRecord(CTextStream& stream, const StopCheck& stop, std::uint64_t maxBytes)
{
    SGameRecord record;
    CMainLineReader(stream, record, stop, maxBytes).Run();
    return record;
}

SGameRecord ReadGameRecordBytes(std::string_view bytes)
{
    if (bytes.size() > kMaxRecordBytes) {
        SGameRecord record;
        record.problem = EGameProblem::TooLarge;
        return record;
    }
    if (StartsBinaryForm(bytes)) {
        SGameRecord record;
        record.problem = EGameProblem::BinaryForm;
        ReadBinaryRecord(bytes, record.root);
        return record;
    }
    CTextStream stream(bytes);
    return ReadGameRecord(stream);
}

SGameRecord ReadGameRecordFile(const std::string& path, const StopCheck& stop)
{
    SGameRecord record;
    // Opened as the list reader opens game files: a pipe or a device named
    // as a game file neither blocks nor feeds the reader for ever.
    const int fd = OpenGameFile(path);
    if (fd < 0) {
        record.problem = EGameProblem::CannotOpen;
        return record;
    }
    CFileInput file(fd);
    // Refused by its size before any of it is read. The reader checks again
    // as it reads, for a file that grows meanwhile.
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && static_cast<std::uint64_t>(info.st_size) > kMaxRecordBytes) {
        record.problem = S_ISREG(info.st_mode) ? EGameProblem::TooLarge : EGameProblem::CannotOpen;
        return record;
    }
    CTextStream stream(file);
    if (StartsBinaryForm(stream)) {
        record.problem = EGameProblem::BinaryForm;
        ReadBinaryRecord(file, stream.Unconsumed(), path, record.root, DefaultReadHooks());
    } else {
        record = ReadGameRecord(stream, stop);
    }
    if (file.Refused())
        record = SGameRecord{}, record.problem = EGameProblem::CannotOpen;
    return record;
}
