#include "players/PlayerAliases.h"

#include "players/PlayerName.h"
#include "settings/Settings.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A tab or a line break inside a name would cut it in the exported text.
std::string OnOneLine(std::string_view name)
{
    std::string out(name);
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return out;
}

std::string_view TrimmedName(std::string_view name)
{
    while (!name.empty() && IsBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && IsBlank(name.back()))
        name.remove_suffix(1);
    return name;
}

} // namespace

bool CPlayerAliases::Join(const std::vector<std::string>& names)
{
    // The groups and lone names that take part, in the order named; a group
    // is named by its index, a lone name by -1.
    std::vector<std::vector<std::string>> parts;
    std::vector<std::size_t> joinedGroups;
    std::vector<std::string> partKeys;
    for (const std::string& name : names) {
        const std::string key = Key(name);
        if (PlayerKey(name).empty() || std::find(partKeys.begin(), partKeys.end(), key) != partKeys.end())
            continue;
        partKeys.push_back(key);
        const auto group = std::find_if(m_groups.begin(), m_groups.end(),
                                        [&](const std::vector<std::string>& g) { return PlayerKey(g.front()) == key; });
        if (group != m_groups.end()) {
            joinedGroups.push_back(static_cast<std::size_t>(group - m_groups.begin()));
            parts.push_back(*group);
        } else {
            parts.push_back({std::string(TrimmedName(name))});
        }
    }
    if (parts.size() < 2)
        return false;

    std::vector<std::string> joined;
    for (const std::vector<std::string>& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    // The new group takes the place of the first group it swallowed, so the
    // order of groups stays the order they were first joined in.
    std::sort(joinedGroups.begin(), joinedGroups.end());
    if (joinedGroups.empty()) {
        m_groups.push_back(std::move(joined));
    } else {
        m_groups[joinedGroups.front()] = std::move(joined);
        for (auto it = joinedGroups.rbegin(); it != joinedGroups.rend() && *it != joinedGroups.front(); ++it)
            m_groups.erase(m_groups.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    Reindex();
    return true;
}

bool CPlayerAliases::Split(std::string_view name)
{
    const std::string key = PlayerKey(name);
    for (auto group = m_groups.begin(); group != m_groups.end(); ++group) {
        const auto named =
            std::find_if(group->begin(), group->end(), [&](const std::string& n) { return PlayerKey(n) == key; });
        if (named == group->end())
            continue;
        if (named == group->begin()) {
            m_groups.erase(group);
        } else {
            // Every spelling with that key leaves, so the name keys as itself again.
            std::erase_if(*group, [&](const std::string& n) { return PlayerKey(n) == key; });
            if (group->size() < 2)
                m_groups.erase(group);
        }
        Reindex();
        return true;
    }
    return false;
}

std::string CPlayerAliases::Key(std::string_view name) const
{
    return KeyOfKey(PlayerKey(name));
}

const std::string& CPlayerAliases::KeyOfKey(const std::string& playerKey) const
{
    const auto found = m_keyOf.find(playerKey);
    return found == m_keyOf.end() ? playerKey : found->second;
}

std::vector<std::string> CPlayerAliases::NamesOf(std::string_view name) const
{
    const std::string key = Key(name);
    for (const std::vector<std::string>& group : m_groups)
        if (PlayerKey(group.front()) == key)
            return group;
    return {std::string(name)};
}

std::string CPlayerAliases::ExportText() const
{
    std::string text;
    for (const std::vector<std::string>& group : m_groups) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (i > 0)
                text += '\t';
            text += OnOneLine(group[i]);
        }
        text += '\n';
    }
    return text;
}

std::size_t CPlayerAliases::ImportText(std::string_view text)
{
    // A file saved by an editor may start with a byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t joinedLines = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::vector<std::string> names;
        while (true) {
            const std::size_t tab = line.find('\t');
            std::string_view name = TrimmedName(line.substr(0, tab));
            // A byte-order mark is never part of a name: files joined from
            // several an editor saved carry one at the start of a line.
            while (name.substr(0, 3) == "\xEF\xBB\xBF")
                name = TrimmedName(name.substr(3));
            if (!name.empty())
                names.emplace_back(name);
            if (tab == std::string_view::npos)
                break;
            line.remove_prefix(tab + 1);
        }
        if (Join(names))
            ++joinedLines;
    }
    return joinedLines;
}

void CPlayerAliases::Load(const ISettingsStore& store)
{
    m_groups.clear();
    m_keyOf.clear();
    ImportText(ReadString(store, settings::kPlayerAliases));
}

void CPlayerAliases::Save(ISettingsStore& store) const
{
    WriteString(store, settings::kPlayerAliases, ExportText());
}

void CPlayerAliases::Reindex()
{
    m_keyOf.clear();
    for (const std::vector<std::string>& group : m_groups) {
        const std::string head = PlayerKey(group.front());
        for (const std::string& name : group)
            m_keyOf.emplace(PlayerKey(name), head);
    }
}
