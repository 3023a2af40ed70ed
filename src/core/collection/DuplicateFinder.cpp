#include "collection/DuplicateFinder.h"

#include "collection/DocHost.h"
#include "game/DuplicateGroups.h"
#include "reader/GameReader.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

using CGames = CDuplicateFinder::CGames;

// The candidates of a file of several games: each (set, game) it is named in.
struct SWanted
{
    std::size_t set = 0;
    std::uint32_t game = 0;
};

// A candidate read ahead, waiting for its set's turn.
struct SReadAhead
{
    CDuplicateFinder::SGame game;
    SCanonicalGame form;
};

} // namespace

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

bool CDuplicateFinder::ReadKeys(const CFiles& files, IDocHost& host, const FSeveralGames& several)
{
    for (const std::string* path : files) {
        if (host.StopRequested())
            return false;
        host.BeforeRead();
        std::vector<SDuplicateKey> keys = ReadDuplicateKeys(*path, !several || several(*path));
        SFileKeys& file = m_keys[*path];
        file.first = keys.front();
        if (keys.size() > 1)
            file.more = std::make_unique<std::vector<SDuplicateKey>>(keys.begin() + 1, keys.end());
        else
            file.more.reset();
    }
    return !host.StopRequested();
}

std::vector<CDuplicateFinder::CGames> CDuplicateFinder::CandidateSets(const CFiles& files) const
{
    // The keys of every game, the games of a file together. Which game a
    // key's number names is kept only where a file of several games moves
    // the numbers on: a collection of files of one game needs no table.
    struct SSeveral
    {
        std::size_t first = 0; // the number of the file's first game
        std::size_t file = 0;
        std::size_t count = 0;
    };
    std::vector<const SDuplicateKey*> keys;
    std::vector<SSeveral> several;
    keys.reserve(files.size());
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string& path = *files[f];
        const std::size_t count = std::max<std::size_t>(GameCount(path), 1);
        if (count > 1)
            several.push_back({keys.size(), f, count});
        for (std::size_t game = 0; game < count; ++game)
            keys.push_back(Key(path, static_cast<std::uint32_t>(game)));
    }
    const auto gameOf = [&files, &several](std::size_t i) -> SGame {
        const auto after = std::upper_bound(several.begin(), several.end(), i,
                                            [](std::size_t at, const SSeveral& s) { return at < s.first; });
        if (after == several.begin())
            return {files[i], 0};
        const SSeveral& last = *(after - 1);
        if (i < last.first + last.count)
            return {files[last.file], static_cast<std::uint32_t>(i - last.first)};
        return {files[last.file + 1 + (i - last.first - last.count)], 0};
    };
    std::vector<CGames> sets;
    for (const std::vector<std::size_t>& set : ::CandidateSets(keys)) {
        CGames named;
        named.reserve(set.size());
        for (std::size_t i : set)
            named.push_back(gameOf(i));
        sets.push_back(std::move(named));
    }
    return sets;
}

std::optional<std::vector<CDuplicateGroup>> CDuplicateFinder::ConfirmGroups(const std::vector<CGames>& sets,
                                                                            IDocHost& host)
{
    // A file of one game is read when its set's turn comes, as it always
    // was. A file of several games is read once, when the first set that
    // names it comes: the forms of its candidates in later sets wait for
    // theirs, so a file of 100,000 games is not walked again for each set.
    std::unordered_map<const std::string*, std::vector<SWanted>> several;
    for (std::size_t s = 0; s < sets.size(); ++s) {
        for (const SGame& game : sets[s]) {
            if (GameCount(*game.path) > 1)
                several[game.path].push_back({s, game.game});
        }
    }
    std::unordered_map<std::size_t, std::vector<SReadAhead>> readAhead;
    std::unordered_set<const std::string*> readFiles;
    const auto readSeveral = [&](const std::string* path) {
        if (!readFiles.insert(path).second)
            return;
        // Only the wanted games' forms are kept as the records are read, so
        // the file's records are never held all at once.
        std::unordered_map<std::size_t, std::optional<SCanonicalGame>> forms;
        for (const SWanted& wanted : several[path])
            forms.emplace(wanted.game, std::nullopt);
        ForEachGameRecord(*path, [&](std::size_t game, SGameRecord& record) {
            const auto it = forms.find(game);
            SCanonicalGame form;
            if (it != forms.end() && MakeCanonicalGame(record, form))
                it->second = std::move(form);
        });
        for (const SWanted& wanted : several[path]) {
            host.BeforeRead();
            const std::optional<SCanonicalGame>& form = forms[wanted.game];
            if (form)
                readAhead[wanted.set].push_back(SReadAhead{{path, wanted.game}, *form});
        }
        several.erase(path);
    };

    std::vector<CDuplicateGroup> groups;
    for (std::size_t s = 0; s < sets.size(); ++s) {
        // Only the games that still are games take part. Each game goes
        // into the grouping as it is read, so the work between two reads
        // (and two looks at the host's stop) is that of one game.
        CGameGrouping grouping;
        CGames members;
        SCanonicalGame form;
        for (const SGame& game : sets[s]) {
            if (host.StopRequested())
                return std::nullopt;
            if (GameCount(*game.path) > 1) {
                readSeveral(game.path);
                continue;
            }
            host.BeforeRead();
            if (!ReadCanonicalGame(*game.path, form))
                continue;
            grouping.Add(form);
            members.push_back(game);
        }
        if (const auto it = readAhead.find(s); it != readAhead.end()) {
            for (const SReadAhead& ahead : it->second) {
                grouping.Add(ahead.form);
                members.push_back(ahead.game);
            }
            readAhead.erase(it);
        }
        const SDuplicateKey none;
        const auto keyOf = [this, &none](const SFileGame& game) -> const SDuplicateKey& {
            const SDuplicateKey* key = Key(game.path, game.game);
            return key ? *key : none;
        };
        for (const std::vector<std::size_t>& found : grouping.Groups()) {
            CDuplicateGroup group;
            for (std::size_t i : found)
                group.emplace_back(*members[i].path, members[i].game);
            std::sort(group.begin(), group.end(), [&keyOf](const SFileGame& a, const SFileGame& b) {
                if (KeepsBefore(keyOf(a), a.path, keyOf(b), b.path))
                    return true;
                if (KeepsBefore(keyOf(b), b.path, keyOf(a), a.path))
                    return false;
                // Two games of one file alike in all else: the earlier one is kept.
                return a.game < b.game;
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

std::optional<std::vector<CDuplicateGroup>> CDuplicateFinder::FindGroups(const CFiles& files, IDocHost& host,
                                                                         const FSeveralGames& several)
{
    if (!ReadKeys(FilesToRead(files), host, several))
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

const SDuplicateKey* CDuplicateFinder::Key(const std::string& path, std::uint32_t game) const
{
    const auto it = m_keys.find(path);
    if (it == m_keys.end() || !it->second.first.read || game >= it->second.Count())
        return nullptr;
    return game == 0 ? &it->second.first : &(*it->second.more)[game - 1];
}

std::size_t CDuplicateFinder::GameCount(const std::string& path) const
{
    const auto it = m_keys.find(path);
    return it == m_keys.end() || !it->second.first.read ? 0 : it->second.Count();
}

std::size_t CDuplicateFinder::KnownFiles() const
{
    return static_cast<std::size_t>(
        std::count_if(m_keys.begin(), m_keys.end(), [](const auto& item) { return item.second.first.read; }));
}
