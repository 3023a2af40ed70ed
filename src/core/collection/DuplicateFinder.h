#pragma once

#include "game/DuplicateKey.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class IDocHost;

// One game held in several files: the paths, the copy to keep first and the
// others in the same order.
using CDuplicateGroup = std::vector<std::string>;

// Finds the copies of one game among game files. It keeps the key of every
// file it has read, so a second search reads only files it has not seen (or
// that changed on disk since). Each file read goes through the host's
// BeforeRead, and the host can stop the search after any file. Files are
// named by the finder's own copy of their path (Track), which stays put
// while the finder lives, so a search of 100,000 files copies no path twice.
class CDuplicateFinder
{
public:
    using CFiles = std::vector<const std::string*>;

    // The finder's copy of path, made on first sight.
    const std::string* Track(const std::string& path);
    // The files not read yet, or whose file changed since.
    CFiles FilesToRead(const CFiles& files) const;
    // Reads the keys of files; false when the host stopped it (the keys read
    // so far are kept).
    bool ReadKeys(const CFiles& files, IDocHost& host);
    // The sets of files that may hold copies of one game, by their keys.
    std::vector<CFiles> CandidateSets(const CFiles& files) const;
    // Reads the candidates again and compares their games: the groups, each
    // in keep order, ordered by their first path. Nothing when stopped.
    std::optional<std::vector<CDuplicateGroup>> ConfirmGroups(const std::vector<CFiles>& sets, IDocHost& host);
    // All of it in one call.
    std::optional<std::vector<CDuplicateGroup>> FindGroups(const CFiles& files, IDocHost& host);
    std::optional<std::vector<CDuplicateGroup>> FindGroups(const std::vector<std::string>& paths, IDocHost& host);

    // The key of a file read, or null.
    const SDuplicateKey* Key(const std::string& path) const;
    std::size_t KnownFiles() const;

private:
    std::unordered_map<std::string, SDuplicateKey> m_keys;
};
