#include "collection/DuplicateFinder.h"

#include "collection/DocHost.h"
#include "game/DuplicateGroups.h"

#include <algorithm>

const std::string* CDuplicateFinder::Track(const std::string& path)
{
    // Map nodes never move, and no key is ever erased.
    return &m_keys.try_emplace(path).first->first;
}

CDuplicateFinder::CFiles CDuplicateFinder::FilesToRead(const CFiles& files) const
{
    CFiles toRead;
    for (const std::string* path : files) {
        const SDuplicateKey* key = Key(*path);
        if (!key) {
            toRead.push_back(path);
            continue;
        }
        // A look at the file is far cheaper than reading it again. Size and
        // time alone miss a copy that keeps the times (cp -p) moved over it.
        SFileStatus now;
        if (!StatGameFile(*path, now) || now != key->file)
            toRead.push_back(path);
    }
    return toRead;
}

bool CDuplicateFinder::ReadKeys(const CFiles& files, IDocHost& host)
{
    for (const std::string* path : files) {
        if (host.StopRequested())
            return false;
        host.BeforeRead();
        m_keys.insert_or_assign(*path, ReadDuplicateKey(*path));
    }
    return !host.StopRequested();
}

std::vector<CDuplicateFinder::CFiles> CDuplicateFinder::CandidateSets(const CFiles& files) const
{
    std::vector<const SDuplicateKey*> keys;
    keys.reserve(files.size());
    for (const std::string* path : files)
        keys.push_back(Key(*path));
    std::vector<CFiles> sets;
    for (const std::vector<std::size_t>& set : ::CandidateSets(keys)) {
        CFiles named;
        named.reserve(set.size());
        for (std::size_t i : set)
            named.push_back(files[i]);
        sets.push_back(std::move(named));
    }
    return sets;
}

std::optional<std::vector<CDuplicateGroup>> CDuplicateFinder::ConfirmGroups(const std::vector<CFiles>& sets,
                                                                            IDocHost& host)
{
    std::vector<CDuplicateGroup> groups;
    const SDuplicateKey none;
    const auto keyOf = [this, &none](const std::string& path) -> const SDuplicateKey& {
        const SDuplicateKey* key = Key(path);
        return key ? *key : none;
    };
    for (const CFiles& set : sets) {
        // Only the files that still hold a game take part. Each game goes
        // into the grouping as it is read, so the work between two reads
        // (and two looks at the host's stop) is that of one game.
        CGameGrouping grouping;
        CFiles paths;
        SCanonicalGame game;
        for (const std::string* path : set) {
            if (host.StopRequested())
                return std::nullopt;
            host.BeforeRead();
            if (!ReadCanonicalGame(*path, game))
                continue;
            grouping.Add(game);
            paths.push_back(path);
        }
        for (const std::vector<std::size_t>& members : grouping.Groups()) {
            CDuplicateGroup group;
            for (std::size_t i : members)
                group.push_back(*paths[i]);
            std::sort(group.begin(), group.end(), [&keyOf](const std::string& a, const std::string& b) {
                return KeepsBefore(keyOf(a), a, keyOf(b), b);
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

std::optional<std::vector<CDuplicateGroup>> CDuplicateFinder::FindGroups(const CFiles& files, IDocHost& host)
{
    if (!ReadKeys(FilesToRead(files), host))
        return std::nullopt;
    return ConfirmGroups(CandidateSets(files), host);
}

std::optional<std::vector<CDuplicateGroup>> CDuplicateFinder::FindGroups(const std::vector<std::string>& paths,
                                                                         IDocHost& host)
{
    CFiles files;
    files.reserve(paths.size());
    for (const std::string& path : paths)
        files.push_back(Track(path));
    return FindGroups(files, host);
}

const SDuplicateKey* CDuplicateFinder::Key(const std::string& path) const
{
    const auto it = m_keys.find(path);
    return it == m_keys.end() || !it->second.read ? nullptr : &it->second;
}

std::size_t CDuplicateFinder::KnownFiles() const
{
    return static_cast<std::size_t>(
        std::count_if(m_keys.begin(), m_keys.end(), [](const auto& item) { return item.second.read; }));
}
