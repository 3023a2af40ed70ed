#include "game/DuplicateFinder.h"

#include "collection/DocHost.h"
#include "game/DuplicateGroups.h"

#include <algorithm>

std::vector<std::string> CDuplicateFinder::FilesToRead(const std::vector<std::string>& paths) const
{
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        const auto it = m_keys.find(path);
        if (it == m_keys.end()) {
            files.push_back(path);
            continue;
        }
        // A look at the file is far cheaper than reading it again.
        std::int64_t time = 0;
        std::uint64_t size = 0;
        if (!FileStamp(path, time, size) || time != it->second.fileTime || size != it->second.fileSize)
            files.push_back(path);
    }
    return files;
}

bool CDuplicateFinder::ReadKeys(const std::vector<std::string>& files, IDocHost& host)
{
    for (const std::string& path : files) {
        if (host.StopRequested())
            return false;
        host.BeforeRead();
        m_keys.insert_or_assign(path, ReadDuplicateKey(path));
    }
    return !host.StopRequested();
}

std::vector<std::vector<std::string>> CDuplicateFinder::CandidateSets(const std::vector<std::string>& paths) const
{
    std::vector<const SDuplicateKey*> keys;
    keys.reserve(paths.size());
    for (const std::string& path : paths)
        keys.push_back(Key(path));
    std::vector<std::vector<std::string>> sets;
    for (const std::vector<std::size_t>& set : ::CandidateSets(keys)) {
        std::vector<std::string> named;
        named.reserve(set.size());
        for (std::size_t i : set)
            named.push_back(paths[i]);
        sets.push_back(std::move(named));
    }
    return sets;
}

std::optional<std::vector<CDuplicateGroup>>
CDuplicateFinder::ConfirmGroups(const std::vector<std::vector<std::string>>& sets, IDocHost& host)
{
    std::vector<CDuplicateGroup> groups;
    for (const std::vector<std::string>& set : sets) {
        // Only the files that still hold a game take part.
        std::vector<SCanonicalGame> games;
        std::vector<const std::string*> paths;
        for (const std::string& path : set) {
            if (host.StopRequested())
                return std::nullopt;
            host.BeforeRead();
            SCanonicalGame game;
            if (!ReadCanonicalGame(path, game))
                continue;
            games.push_back(std::move(game));
            paths.push_back(&path);
        }
        for (const std::vector<std::size_t>& members : ExactGroups(games)) {
            CDuplicateGroup group;
            for (std::size_t i : members)
                group.push_back(*paths[i]);
            const SDuplicateKey none;
            std::sort(group.begin(), group.end(), [this, &none](const std::string& a, const std::string& b) {
                const SDuplicateKey* ka = Key(a);
                const SDuplicateKey* kb = Key(b);
                return KeepsBefore(ka ? *ka : none, a, kb ? *kb : none, b);
            });
            groups.push_back(std::move(group));
        }
    }
    if (host.StopRequested())
        return std::nullopt;
    std::sort(groups.begin(), groups.end(),
              [](const CDuplicateGroup& a, const CDuplicateGroup& b) { return a.front() < b.front(); });
    return groups;
}

std::optional<std::vector<CDuplicateGroup>> CDuplicateFinder::FindGroups(const std::vector<std::string>& paths,
                                                                         IDocHost& host)
{
    if (!ReadKeys(FilesToRead(paths), host))
        return std::nullopt;
    return ConfirmGroups(CandidateSets(paths), host);
}

const SDuplicateKey* CDuplicateFinder::Key(const std::string& path) const
{
    const auto it = m_keys.find(path);
    return it == m_keys.end() ? nullptr : &it->second;
}
