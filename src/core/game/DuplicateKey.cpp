#include "game/DuplicateKey.h"

#include "reader/GameReader.h"
#include "reader/GameRecordReader.h"
#include "util/Fnv1a.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <tuple>

namespace {

// A token is one 32-bit word: its kind in the top bits, then the colour and
// the point, so that comparing tokens as numbers orders the forms.
enum ETokenKind : std::uint32_t {
    kSize = 0,
    kSetup = 1,
    kPlay = 2,
    kPass = 3,
    kNowhere = 4, // a move that names no point of the board
};

std::uint32_t Token(ETokenKind kind, EStone colour, int x = 0, int y = 0)
{
    return (static_cast<std::uint32_t>(kind) << 24) | (static_cast<std::uint32_t>(colour) << 16) |
           (static_cast<std::uint32_t>(x) << 8) | static_cast<std::uint32_t>(y);
}

// One of the 8 symmetries: bit 0 mirrors left to right, bit 1 top to
// bottom, bit 2 then swaps the axes (and so the board's sides).
struct CSymmetry
{
    int t;
    int width;
    int height;

    void Apply(int& x, int& y) const
    {
        if (t & 1)
            x = width - 1 - x;
        if (t & 2)
            y = height - 1 - y;
        if (t & 4)
            std::swap(x, y);
    }
    std::uint32_t SizeToken() const
    {
        return (t & 4) ? Token(kSize, EStone::Empty, height, width) : Token(kSize, EStone::Empty, width, height);
    }
};

std::uint32_t MoveToken(const SGameRecord& record, const SGameMove& move, const CSymmetry& symmetry)
{
    if (move.kind == SGameMove::EKind::Pass)
        return Token(kPass, move.colour);
    if (move.kind == SGameMove::EKind::Unreadable || move.x >= record.width || move.y >= record.height)
        return Token(kNowhere, move.colour);
    int x = move.x;
    int y = move.y;
    symmetry.Apply(x, y);
    return Token(kPlay, move.colour, x, y);
}

// The symmetry whose form is least, for a record without setup stones: the
// forms are compared token by token and a symmetry drops out at its first
// larger token, which for almost every game happens within a move or two,
// so only the winner's form is ever made whole.
int LeastSymmetryOfMoves(const SGameRecord& record)
{
    int alive[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    int count = 8;
    for (std::size_t i = 0; count > 1 && i <= record.moves.size(); ++i) {
        std::uint32_t tokens[8];
        std::uint32_t least = UINT32_MAX;
        for (int k = 0; k < count; ++k) {
            const CSymmetry symmetry{alive[k], record.width, record.height};
            tokens[k] = i == 0 ? symmetry.SizeToken() : MoveToken(record, record.moves[i - 1], symmetry);
            least = std::min(least, tokens[k]);
        }
        int kept = 0;
        for (int k = 0; k < count; ++k) {
            if (tokens[k] == least)
                alive[kept++] = alive[k];
        }
        count = kept;
    }
    return alive[0];
}

void AppendForm(const SGameRecord& record, const std::vector<SSetupPoint>& setup, const CSymmetry& symmetry,
                std::vector<std::uint32_t>& tokens)
{
    tokens.clear();
    tokens.push_back(symmetry.SizeToken());
    std::size_t next = 0;
    const std::size_t moves = record.moves.size();
    for (std::size_t i = 0; i <= moves; ++i) {
        // The setup points before move i; their order within a node means nothing.
        const std::size_t first = tokens.size();
        while (next < setup.size() && setup[next].beforeMove <= i) {
            int x = setup[next].x;
            int y = setup[next].y;
            symmetry.Apply(x, y);
            tokens.push_back(Token(kSetup, setup[next].stone, x, y));
            ++next;
        }
        std::sort(tokens.begin() + static_cast<std::ptrdiff_t>(first), tokens.end());
        if (i == moves)
            break;
        tokens.push_back(MoveToken(record, record.moves[i], symmetry));
    }
}

void AppendIdentity(const CPropertyTable& root, std::string_view id, std::string& identity)
{
    // Present and empty differ from absent.
    if (const CPropertyValue value = root.Find(id)) {
        identity += '\1';
        identity += *value;
    }
    identity += '\0';
}

} // namespace

bool MakeCanonicalGame(const SGameRecord& record, SCanonicalGame& game)
{
    game = SCanonicalGame{};
    if (!record.HasGame())
        return false;
    std::vector<SSetupPoint> setup = ExpandSetup(record);
    if (setup.empty() && record.moves.empty())
        return false;
    std::stable_sort(setup.begin(), setup.end(),
                     [](const SSetupPoint& a, const SSetupPoint& b) { return a.beforeMove < b.beforeMove; });

    game.tokens.reserve(1 + setup.size() + record.moves.size());
    if (setup.empty()) {
        AppendForm(record, setup, CSymmetry{LeastSymmetryOfMoves(record), record.width, record.height}, game.tokens);
    } else {
        // Setup points are sorted within their node after the turn, so each
        // form is made whole before it is compared.
        std::vector<std::uint32_t> form;
        for (int t = 0; t < 8; ++t) {
            AppendForm(record, setup, CSymmetry{t, record.width, record.height}, form);
            if (t == 0 || form < game.tokens)
                game.tokens.swap(form);
        }
    }
    game.moves = static_cast<std::uint32_t>(record.moves.size());
    if (game.moves >= kPrefixMoves) {
        std::uint32_t seen = 0;
        for (std::size_t i = 1; i < game.tokens.size(); ++i) {
            if ((game.tokens[i] >> 24) != kSetup && ++seen == kPrefixMoves) {
                game.prefixTokens = i + 1;
                break;
            }
        }
    }
    if (game.moves < kShortGameMoves) {
        AppendIdentity(record.root, "PB", game.identity);
        AppendIdentity(record.root, "PW", game.identity);
        AppendIdentity(record.root, "DT", game.identity);
    }
    return true;
}

std::uint64_t HashTokens(const std::uint32_t* tokens, std::size_t count, const std::string& identity)
{
    // FNV-1a over the bytes; it only picks candidates, which are compared in full.
    std::uint64_t hash = kFnv1aStart;
    for (std::size_t i = 0; i < count; ++i)
        hash = Fnv1aLittleEndian(hash, tokens[i], 4);
    hash = Fnv1a(hash, identity);
    // 0 stands for "no hash" in a key.
    return hash == 0 ? 1 : hash;
}

SDuplicateKey MakeDuplicateKey(const SCanonicalGame& game, bool usable, bool hasComments)
{
    SDuplicateKey key;
    key.usable = usable;
    key.hasComments = hasComments;
    if (!usable)
        return key;
    key.moves = game.moves;
    key.gameHash = HashTokens(game.tokens.data(), game.tokens.size(), game.identity);
    if (game.prefixTokens > 0)
        key.prefixHash = HashTokens(game.tokens.data(), game.prefixTokens, std::string());
    return key;
}

std::vector<SDuplicateKey> ReadDuplicateKeys(const std::string& path, bool allGames)
{
    SFileStatus status;
    const bool stamped = StatGameFile(path, status);
    // Every game of the file in its one pass; a file that cannot be read
    // still has its one key, unusable, so it counts as read.
    std::vector<SDuplicateKey> keys;
    SCanonicalGame game;
    const auto addKey = [&](std::size_t, const SGameRecord& record) {
        const bool usable = stamped && MakeCanonicalGame(record, game);
        keys.push_back(MakeDuplicateKey(game, usable, !record.comments.empty()));
        keys.back().file = status;
        keys.back().read = true;
    };
    // One game's record at a time: a file of many games never holds all
    // its records at once.
    if (allGames)
        ForEachGameRecord(path, [&](std::size_t number, SGameRecord& record) { addKey(number, record); });
    else
        addKey(0, ReadGameRecordFile(path));
    if (keys.empty())
        addKey(0, SGameRecord{});
    return keys;
}

bool ReadCanonicalGame(const std::string& path, SCanonicalGame& game)
{
    return MakeCanonicalGame(ReadGameRecordFile(path), game);
}

bool KeepsBefore(const SDuplicateKey& a, const std::string& pathA, const SDuplicateKey& b, const std::string& pathB)
{
    if (a.moves != b.moves)
        return a.moves > b.moves;
    if (a.hasComments != b.hasComments)
        return a.hasComments;
    if (a.file.mtimeNs != b.file.mtimeNs)
        return a.file.mtimeNs < b.file.mtimeNs;
    return pathA < pathB;
}
