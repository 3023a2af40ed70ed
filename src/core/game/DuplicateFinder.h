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
// BeforeRead, and the host can stop the search after any file.
class CDuplicateFinder
{
public:
    // The paths whose keys are missing or whose file changed since.
    std::vector<std::string> FilesToRead(const std::vector<std::string>& paths) const;
    // Reads the keys of files; false when the host stopped it (the keys read
    // so far are kept).
    bool ReadKeys(const std::vector<std::string>& files, IDocHost& host);
    // The sets of paths that may hold copies of one game, by their keys.
    std::vector<std::vector<std::string>> CandidateSets(const std::vector<std::string>& paths) const;
    // Reads the candidates again and compares their games: the groups, each
    // in keep order, ordered by their first path. Nothing when stopped.
    std::optional<std::vector<CDuplicateGroup>> ConfirmGroups(const std::vector<std::vector<std::string>>& sets,
                                                              IDocHost& host);
    // All of it in one call.
    std::optional<std::vector<CDuplicateGroup>> FindGroups(const std::vector<std::string>& paths, IDocHost& host);

    const SDuplicateKey* Key(const std::string& path) const;
    std::size_t KnownFiles() const { return m_keys.size(); }

private:
    std::unordered_map<std::string, SDuplicateKey> m_keys;
};
