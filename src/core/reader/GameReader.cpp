#include "reader/GameReader.h"

#include "files/FileInput.h"
#include "files/FileStatus.h"
#include "reader/BinaryReader.h"
#include "reader/GameFileForm.h"
#include "reader/GameRecordReader.h"
#include "reader/GameTrees.h"
#include "reader/RootNode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

ERecordResult ResultOf(ENodeEnd end)
{
    switch (end) {
    case ENodeEnd::Semicolon:
    case ENodeEnd::Open:
    case ENodeEnd::Close:
    case ENodeEnd::End:
        return ERecordResult::Read;
    case ENodeEnd::TooLarge:
        return ERecordResult::TooLarge;
    case ENodeEnd::IdentifierCut:
    case ENodeEnd::ValueCutOff:
        break;
    }
    return ERecordResult::NotARecord;
}

std::string SystemText(int error)
{
    return std::strerror(error != 0 ? error : EIO);
}

} // namespace

std::string RecordLimitText(std::uint64_t bytes)
{
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

bool ReadGameFile(const std::string& path, CPropertyTable& table, IReadHooks& hooks)
{
    hooks.BeforeRead();
    return ReadGameFileContents(path, table, hooks);
}

namespace {

// Keeps the raw bytes of a text record whose root node was read from file,
// up to one past maxBytes (so a larger one stays too large for the reader),
// for a file the stream's first read did not bring whole: it is read again,
// from the system's cache.
void KeepText(CFileInput& file, std::uint64_t maxBytes, std::string& text)
{
    text.clear();
    file.Seek(0);
    const std::uint64_t most = maxBytes + 1;
    char chunk[16384];
    while (text.size() < most) {
        const long got =
            file.Read(chunk, static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, most - text.size())));
        if (got <= 0)
            break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
}

} // namespace

SGameRecord MainLineOf(const SGameFileBytes& file, const CPropertyTable& table, std::uint64_t maxBytes,
                       std::uint64_t start)
{
    SGameRecord record;
    try {
        if (file.binary) {
            record.problem = EGameProblem::BinaryForm;
            record.root = table;
        } else if (start < file.text.size() || start == 0) {
            CTextStream stream(std::string_view(file.text).substr(static_cast<std::size_t>(start)));
            record = ReadGameRecord(stream, {}, maxBytes);
        } else {
            // A later game past the bytes kept for the file.
            record.problem = EGameProblem::TooLarge;
        }
    } catch (const std::bad_alloc&) {
        // A record too large for the memory left gives no moves.
        record = SGameRecord{};
        record.problem = EGameProblem::TooLarge;
    }
    return record;
}

bool ReadGameFileContents(const std::string& path, CPropertyTable& table, IReadHooks& hooks, SFileStatus* status,
                          SGameFileBytes* whole, SMoreGames* more)
{
    // Only regular files are game files; CFileInput refuses the others.
    const int fd = OpenGameFile(path);
    if (fd < 0) {
        const int error = errno;
        hooks.ReportNotRead(path, SystemText(error));
        return false;
    }
    CFileInput file(fd);
    if (status && !StatOpenFile(fd, *status))
        *status = {};
    bool binary = false;
    ERecordResult result = ERecordResult::NotARecord;
    try {
        // Read as bytes: CTextStream does the text-mode translation itself.
        CTextStream stream(file);
        binary = StartsBinaryForm(stream);
        result = binary ? ReadBinaryRecord(file, stream.Unconsumed(), path, table, hooks)
                        : ReadTextRecord(stream, table, hooks.MaxRecordBytes(), more);
        std::string_view held;
        if (whole && result == ERecordResult::Read && !binary) {
            // The stream has passed the root node (or, with more, the whole
            // file): a file its first read brought whole is held still.
            // A file of several games is kept up to one record past its
            // last game's start, so every game gets its main line.
            const std::uint64_t one = std::min<std::uint64_t>(hooks.MaxRecordBytes(), kMaxRecordBytes);
            const std::uint64_t most = (more && !more->starts.empty() ? more->starts.back() : 0) + one;
            if (stream.WholeFileHeld(held) && held.size() <= most)
                whole->text.assign(held);
            else
                KeepText(file, most, whole->text);
        }
    } catch (const std::bad_alloc&) {
        // One file too large for the memory left fails alone; the files
        // after it, and what was read before, are not lost with it.
        hooks.ReportNotRead(path, "out of memory");
        return false;
    }
    if (file.Refused()) {
        hooks.ReportNotRead(path, "not a regular file");
        return false;
    }
    switch (result) {
    case ERecordResult::Read:
        if (whole)
            whole->binary = binary;
        return true;
    case ERecordResult::TooLarge:
        hooks.ReportNotRead(path, std::string(binary ? "binary record" : "root node") + " larger than " +
                                      RecordLimitText(hooks.MaxRecordBytes()));
        return false;
    case ERecordResult::FileError:
        hooks.ReportNotRead(path, SystemText(file.Error()));
        return false;
    case ERecordResult::NotARecord:
        // A read error (a folder named as a file) ends the text like its end.
        hooks.ReportNotRead(path, file.Error() != 0 ? SystemText(file.Error()) : std::string("not a game record"));
        return false;
    }
    return false;
}

bool ReadTextRecord(CTextStream& stream, CPropertyTable& table)
{
    return ReadTextRecord(stream, table, kMaxRecordBytes) == ERecordResult::Read;
}

namespace {

// Where a node stands in a tree: how many parentheses deep, once it ended so.
int DepthAfterNode(ENodeEnd end, int depth)
{
    switch (end) {
    case ENodeEnd::Open:
        return depth + 1;
    case ENodeEnd::Close:
        return depth - 1;
    default:
        return depth;
    }
}

// The root node of a game tree whose "(" was consumed: the node right
// after the "(" when it holds a value and ends in a ";" (game information
// written without the ";" of the root, as the first game's may be), else
// the first node of the tree. False when the tree has no node (an empty
// "()") or the input ends first; depth says how deep the stream stands
// afterwards (0 when the tree was passed whole).
enum class ETreeRoot { Game, NoGame, Stop };
ETreeRoot ReadTreeRoot(CTextStream& stream, CRecordTokenizer& tokens, std::uint64_t maxRootBytes, CPropertyTable& table,
                       int& depth)
{
    const std::uint64_t afterParen = stream.Position();
    tokens.SetLimit(RootNodeLimit(afterParen, maxRootBytes));
    std::size_t values = 0;
    if (ReadNodeProperties(tokens, table, &values) == ENodeEnd::Semicolon && values > 0) {
        depth = 1;
        return ETreeRoot::Game;
    }
    table = CPropertyTable();
    stream.Rewind(afterParen);
    // Anything before the first ";" is passed over byte by byte, as the
    // whole-game reader passes it over from the tree's start, so both find
    // the same root node; a tree that closes first holds no game.
    depth = 1;
    for (;;) {
        switch (stream.Get()) {
        case CTextStream::kEnd:
            return ETreeRoot::Stop;
        case '(':
            ++depth;
            break;
        case ')':
            if (--depth == 0)
                return ETreeRoot::NoGame;
            break;
        case ';': {
            tokens.SetLimit(RootNodeLimit(stream.Position(), maxRootBytes));
            const ENodeEnd end = ReadNodeProperties(tokens, table);
            if (ResultOf(end) != ERecordResult::Read)
                return ETreeRoot::Stop;
            depth = end == ENodeEnd::End ? 0 : DepthAfterNode(end, depth);
            return end == ENodeEnd::End ? ETreeRoot::Stop : ETreeRoot::Game;
        }
        default:
            break;
        }
    }
}

// Reads the games after the first, from inside the first game's tree, depth
// parentheses deep.
void ReadMoreGames(CTextStream& stream, CRecordTokenizer& tokens, std::uint64_t maxRootBytes, int depth,
                   SMoreGames& more)
{
    while (more.tables.size() < more.most) {
        if (depth > 0 && !stream.SkipTree(depth))
            return;
        // Where the next tree's "(" is, taken before it is consumed: the
        // stream's position after it may have passed a CR already.
        std::uint64_t start = 0;
        for (;;) {
            start = stream.Position();
            const int c = stream.Get();
            if (c == CTextStream::kEnd)
                return;
            if (c == '(')
                break;
        }
        CPropertyTable table;
        const ETreeRoot root = ReadTreeRoot(stream, tokens, maxRootBytes, table, depth);
        if (root == ETreeRoot::Game || (root == ETreeRoot::Stop && depth == 0 && !table.empty())) {
            more.tables.push_back(std::move(table));
            more.starts.push_back(start);
        }
        if (root == ETreeRoot::Stop)
            return;
        if (root == ETreeRoot::NoGame)
            depth = 0;
    }
}

} // namespace

ERecordResult ReadTextRecord(CTextStream& stream, CPropertyTable& table, std::uint64_t maxRootBytes, SMoreGames* more)
{
    const std::uint64_t begin = stream.Position();
    CRecordTokenizer tokens(stream);
    CPropertyTable bare;
    switch (FindRootNode(tokens, maxRootBytes, bare)) {
    case ERootStart::None:
        return ERecordResult::NotARecord;
    case ERootStart::Bare:
        // Read whole already: its properties are the root's.
        for (const CPropertyTable::Item& item : bare.Items())
            table.Set(item.first, item.second);
        // The stream stands right after the tree's "(".
        if (more)
            ReadMoreGames(stream, tokens, maxRootBytes, 1, *more);
        return ERecordResult::Read;
    case ERootStart::AfterNode:
        break;
    }
    int depth = 1;
    if (more) {
        // The bytes passed over before the first ";" may close the tree of
        // the first "(" and open another: how deep the node stands.
        const std::uint64_t node = stream.Position();
        stream.Rewind(begin);
        SkipPast(stream, '(');
        depth = DepthAfter(stream, node, 1);
        stream.Rewind(node);
    }
    tokens.SetLimit(RootNodeLimit(stream.Position(), maxRootBytes));
    const ENodeEnd end = ReadNodeProperties(tokens, table);
    const ERecordResult result = ResultOf(end);
    if (more && result == ERecordResult::Read && end != ENodeEnd::End)
        ReadMoreGames(stream, tokens, maxRootBytes, DepthAfterNode(end, depth), *more);
    return result;
}

namespace {

// The later games of a text record (up to most of them) and the file's
// bytes from the first one's start (the last one's, with lastOnly), kept
// within the limit of one record past the last start.
bool LaterGames(const std::string& path, std::size_t most, bool lastOnly, SMoreGames& more, std::string& bytes,
                std::uint64_t& from)
{
    const int fd = OpenGameFile(path);
    if (fd < 0)
        return false;
    CFileInput file(fd);
    more.most = most;
    try {
        CTextStream stream(file);
        if (StartsBinaryForm(stream))
            return false;
        CPropertyTable first;
        if (ReadTextRecord(stream, first, kMaxRecordBytes, &more) != ERecordResult::Read || more.starts.empty())
            return false;
        from = lastOnly ? more.starts.back() : more.starts.front();
        file.Seek(from);
        char chunk[16384];
        const std::uint64_t last = more.starts.back() - from;
        while (bytes.size() <= last + kMaxRecordBytes) {
            const long got = file.Read(chunk, sizeof chunk);
            if (got <= 0)
                break;
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return !file.Refused();
}

SGameRecord RecordAt(const std::string& bytes, std::uint64_t at, const StopCheck& stop)
{
    if (at >= bytes.size()) {
        SGameRecord record;
        record.problem = EGameProblem::TooLarge;
        return record;
    }
    const std::string_view tree = std::string_view(bytes).substr(static_cast<std::size_t>(at));
    CTextStream stream(tree.substr(0, std::min<std::size_t>(tree.size(), kMaxRecordBytes + 1)));
    return ReadGameRecord(stream, stop, kMaxRecordBytes);
}

} // namespace

SGameRecord ReadGameRecordFile(const std::string& path, const StopCheck& stop, std::size_t game)
{
    if (game == 0)
        return ReadGameRecordFile(path, stop);
    SMoreGames more;
    std::string bytes;
    std::uint64_t from = 0;
    SGameRecord record;
    if (!LaterGames(path, game, true, more, bytes, from) || more.starts.size() < game) {
        record.problem = EGameProblem::NoGameTree;
        return record;
    }
    // Only the wanted game's bytes are kept: from its start on.
    return RecordAt(bytes, more.starts[game - 1] - from, stop);
}

bool ForEachGameRecord(const std::string& path, const std::function<void(std::size_t game, SGameRecord& record)>& f)
{
    const int fd = OpenGameFile(path);
    if (fd < 0)
        return false;
    CFileInput file(fd);
    std::string bytes;
    try {
        char chunk[16384];
        for (;;) {
            const long got = file.Read(chunk, sizeof chunk);
            if (got <= 0)
                break;
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (file.Refused())
        return false;
    // The first game as ReadGameRecordFile reads it: a file past the limit
    // of one record is refused for it; the later games have a limit each.
    SGameRecord record;
    if (bytes.size() > kMaxRecordBytes) {
        record.problem = EGameProblem::TooLarge;
    } else {
        record = ReadGameRecordBytes(bytes);
    }
    f(0, record);
    if (StartsBinaryForm(bytes))
        return true;
    CTextStream stream(bytes);
    CPropertyTable first;
    SMoreGames more;
    if (ReadTextRecord(stream, first, kMaxRecordBytes, &more) != ERecordResult::Read)
        return true;
    for (std::size_t i = 0; i < more.starts.size(); ++i) {
        record = RecordAt(bytes, more.starts[i], {});
        f(i + 1, record);
    }
    return true;
}
