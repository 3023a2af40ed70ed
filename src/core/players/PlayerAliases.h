#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ISettingsStore;

// The user's aliases: names the user has said are one player, whatever the
// archives wrote. Each group is kept under its first name; every name of a
// group keys as that first name's PlayerKey. Names are UTF-8, and a name
// stands for all spellings with its PlayerKey. They apply to every
// collection, so they live in the user's settings.
class CPlayerAliases
{
public:
    // Joins the names as one player under the first. A name already in a
    // group brings its whole group along; the first name's group (or the
    // first name) heads the result. False when fewer than two different
    // players were named (nothing changes then).
    bool Join(const std::vector<std::string>& names);
    // Undoes a join: a group's first name dissolves its whole group, any
    // other name leaves its group alone. False when the name is in none.
    bool Split(std::string_view name);

    // The key every spelling of name counts under: its group's key when it
    // is in one, else PlayerKey(name).
    std::string Key(std::string_view name) const;
    // The key of a PlayerKey already made (for callers that have it).
    const std::string& KeyOfKey(const std::string& playerKey) const;
    // The names of the group name is in, its first name first; just name
    // when it is in none.
    std::vector<std::string> NamesOf(std::string_view name) const;

    bool IsEmpty() const { return m_groups.empty(); }
    // Each group, its first name first, in the order they were joined.
    const std::vector<std::vector<std::string>>& Groups() const { return m_groups; }

    // One group per line, NAME<TAB>ALIAS<TAB>ALIAS..., lines ended by "\n".
    std::string ExportText() const;
    // Joins every line of text (its names cut at tabs, blanks around each
    // trimmed, "\r\n" taken as a line end, empty names skipped) on top of
    // the groups there are. Returns the number of lines that joined
    // something.
    std::size_t ImportText(std::string_view text);

    // Replaces the groups by those of the settings value "Players/Aliases",
    // and writes them there.
    void Load(const ISettingsStore& store);
    void Save(ISettingsStore& store) const;

    bool operator==(const CPlayerAliases& other) const { return m_groups == other.m_groups; }

private:
    void Reindex();

    std::vector<std::vector<std::string>> m_groups;
    // PlayerKey of every name in a group -> the key of its group's first name.
    std::unordered_map<std::string, std::string> m_keyOf;
};
