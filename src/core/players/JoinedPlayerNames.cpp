#include "players/JoinedPlayerNames.h"

#include "players/PlayerAliases.h"
#include "players/PlayerName.h"
#include "settings/DelimStringArray.h"
#include "settings/Settings.h"

#include <mutex>

namespace {

// A list is made for every row; the aliases change rarely, so the last
// text read is parsed once and shared.
std::shared_ptr<const CPlayerAliases> AliasesOf(const ISettingsStore& store)
{
    static std::mutex mutex;
    static std::string lastText;
    static std::shared_ptr<const CPlayerAliases> last = std::make_shared<const CPlayerAliases>();
    std::string text = ReadString(store, settings::kPlayerAliases);
    const std::lock_guard lock(mutex);
    if (text != lastText) {
        auto aliases = std::make_shared<CPlayerAliases>();
        aliases->ImportText(text);
        last = std::move(aliases);
        lastText = std::move(text);
    }
    return last;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

bool CJoinedPlayerNames::IsJoined(std::string_view name, const CDelimStringArray& myNames) const
{
    const std::string withoutRank = NameWithoutRank(name);
    if (withoutRank != Trimmed(name) && myNames.Find(withoutRank) >= 0)
        return true;

    if (!m_aliases)
        m_aliases = AliasesOf(m_store);
    if (m_aliases->IsEmpty())
        return false;
    const std::string key = PlayerKey(name);
    const std::string& player = m_aliases->KeyOfKey(key);
    // Only a joined name joins: without aliases a name is mine by its bytes.
    if (&player == &key)
        return false;
    for (const std::string& mine : myNames)
        if (m_aliases->Key(mine) == player)
            return true;
    return false;
}
