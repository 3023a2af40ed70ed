#pragma once

#include "game/DuplicateKey.h"

#include <compare>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class IDocHost;

// One game of a game file: its path and which game of the file it is, from
// 0 in file order (0 for a file of one game).
struct SFileGame
{
    // A path alone names the file's first game.
    SFileGame(std::string filePath = {}, std::uint32_t number = 0) : path(std::move(filePath)), game(number) {}
    auto operator<=>(const SFileGame&) const = default;

    std::string path;
    std::uint32_t game = 0;
};

// One game held several times: the games, the copy to keep first and the
// others in the same order. Two games of one file can be copies of each other.
using CDuplicateGroup = std::vector<SFileGame>;

// Finds the copies of one game among the games of game files. It keeps the
// keys of every file it has read, so a second search reads only files it has
// not seen (or that changed on disk since). Each file read for its keys goes
// through the host's BeforeRead once, each game compared once more, and the
// host can stop the search between any two. Files are named by the finder's
// own copy of their path (Track), which stays put while the finder lives, so
// a search of 100,000 files copies no path twice.
class CDuplicateFinder
{
public:
    using CFiles = std::vector<const std::string*>;
    struct SGame
    {
        const std::string* path = nullptr;
        std::uint32_t game = 0;
    };
    using CGames = std::vector<SGame>;
    // Whether the collection holds several games of the file at a path: its
    // other games are read for their keys only then, so a collection of
    // files of one game reads each file no further than its one game.
    // Without it every game of every file is read.
    using FSeveralGames = std::function<bool(const std::string& path)>;

    // The finder's copy of path, made on first sight.
    const std::string* Track(const std::string& path);
    // The files not read yet, or whose file changed since.
    CFiles FilesToRead(const CFiles& files) const;
    // Reads the keys of every game of files, each file in one pass; false
    // when the host stopped it (the keys read so far are kept).
    bool ReadKeys(const CFiles& files, IDocHost& host, const FSeveralGames& several = {});
    // The sets of games that may be copies of one game, by their keys.
    std::vector<CGames> CandidateSets(const CFiles& files) const;
    // Reads the candidates again and compares their games: the groups, each
    // in keep order, ordered by their first game. A file of several games is
    // read once for all its candidates. Nothing when stopped.
    std::optional<std::vector<CDuplicateGroup>> ConfirmGroups(const std::vector<CGames>& sets, IDocHost& host);
    // All of it in one call.
    std::optional<std::vector<CDuplicateGroup>> FindGroups(const CFiles& files, IDocHost& host,
                                                           const FSeveralGames& several = {});
    std::optional<std::vector<CDuplicateGroup>> FindGroups(const std::vector<std::string>& paths, IDocHost& host);

    // The key of a game of a file read, or null.
    const SDuplicateKey* Key(const std::string& path, std::uint32_t game = 0) const;
    // How many games a file read holds (0 when it was not read).
    std::size_t GameCount(const std::string& path) const;
    std::size_t KnownFiles() const;

private:
    // The first game's key in place; a file of several games keeps the
    // others beside it, so a file of one game costs no more than its key.
    struct SFileKeys
    {
        SDuplicateKey first;
        std::unique_ptr<std::vector<SDuplicateKey>> more;

        std::size_t Count() const { return 1 + (more ? more->size() : 0); }
    };

    std::unordered_map<std::string, SFileKeys> m_keys;
};
