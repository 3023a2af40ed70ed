#pragma once

#include "collection/JoinedNames.h"

#include <memory>

class CPlayerAliases;
class ISettingsStore;

// The user's own names as the players are joined: a name stands for one of
// My Names when taking its rank words off leaves that name exactly ("Lee
// Sedol 9p" for "Lee Sedol"; case and blanks still count, as for the names
// themselves), or when the user's aliases in store join it with one. The
// aliases are read from store at the first question and kept.
class CJoinedPlayerNames : public IJoinedNames
{
public:
    explicit CJoinedPlayerNames(const ISettingsStore& store) : m_store(store) {}

    bool IsJoined(std::string_view name, const CDelimStringArray& myNames) const override;

private:
    const ISettingsStore& m_store;
    mutable std::shared_ptr<const CPlayerAliases> m_aliases;
};
