#include "collection/DerivedValues.h"

#include "collection/GameEntry.h"
#include "collection/JoinedNames.h"
#include "collection/ResultWinner.h"
#include "collection/ShownText.h"
#include "settings/DelimStringArray.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

namespace {
// The names are constant for the run; reading them once spares a parse per cell.
const CDelimStringArray& DerivedNames()
{
    static const CDelimStringArray names = [] {
        CDelimStringArray list;
        list.LoadFromResources(IDS_DERIVED_NAMES, 1);
        return list;
    }();
    return names;
}

bool IsAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool Lookup(const CGameEntry& entry, std::string_view id, std::string& value)
{
    const CPropertyValue found = entry.m_props.Find(id);
    if (found == nullptr) {
        return false;
    }
    value = *found;
    return true;
}
} // namespace

int ClassifySignature(std::string_view signature)
{
    if (signature.empty() || signature.front() != '$') {
        return kPlainSignature;
    }
    std::string_view name = signature.substr(1);
    name = name.substr(0, name.find(':'));
    const CDelimStringArray& names = DerivedNames();
    for (std::size_t i = 0; i < names.size() && i < kPlainSignature; ++i) {
        if (names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return kPlainSignature;
}

EResultWinner CGameEntry::Winner(IShownText* shown) const
{
    const CPropertyValue result = m_props.Find("RE");
    if (result == nullptr) {
        return EResultWinner::None;
    }
    // The list shows the result in the charset it chose for the whole record,
    // which need not be the one CA names (CP949 bytes under CA[UTF-8] are
    // common); read it as shown, so the winner agrees with the text beside it.
    if (shown && !IsAscii(*result)) {
        return WinnerOfResult(shown->ShownUtf8(*this, *result), "UTF-8");
    }
    const CPropertyValue charset = m_props.Find("CA");
    return WinnerOfResult(*result, charset ? std::string_view(*charset) : std::string_view());
}

bool CGameEntry::GetValue(std::string_view signature, std::string& value, const ISettingsStore& store,
                          IShownText* shown, const IJoinedNames* joined) const
{
    if (signature.empty()) {
        return false;
    }
    const int kind = ClassifySignature(signature);
    if (kind == kPlainSignature) {
        return Lookup(*this, signature, value);
    }

    if (kind == kOpponent || kind == kOpponentRank) {
        const CPropertyValue black = m_props.Find("PB");
        const CPropertyValue white = m_props.Find("PW");
        if (black == nullptr || white == nullptr) {
            return false;
        }
        // Read afresh every time, so a change on the Others page shows at the next refill.
        std::string myNames = ReadString(store, settings::kMyNames);
        for (char& c : myNames) {
            if (c == ',') {
                c = '|';
            }
        }
        CDelimStringArray names;
        names.Parse(myNames);
        // Names are typed as text; the bytes of a record in another charset
        // only equal them once decoded. Plain ASCII decodes to itself.
        auto isMine = [&](std::string_view name) {
            if (names.Find(name) >= 0)
                return true;
            if (names.empty())
                return false;
            if (shown && !IsAscii(name)) {
                const std::string shownName = shown->ShownUtf8(*this, name);
                return names.Find(shownName) >= 0 || (joined && joined->IsJoined(shownName, names));
            }
            return joined && joined->IsJoined(name, names);
        };
        const bool blackIsMine = isMine(*black);
        const bool whiteIsMine = isMine(*white);
        if (blackIsMine == whiteIsMine) {
            return false;
        }
        if (kind == kOpponent) {
            value = blackIsMine ? *white : *black;
            return true;
        }
        return Lookup(*this, blackIsMine ? "WR" : "BR", value);
    }

    const EResultWinner winner = Winner(shown);
    // A draw, a void game or a result that names no winner has no winner and no loser.
    if (winner == EResultWinner::None) {
        return false;
    }
    const bool blackWon = winner == EResultWinner::Black;
    switch (kind) {
    case kWinner:
        return Lookup(*this, blackWon ? "PB" : "PW", value);
    case kWinnerRank:
        return Lookup(*this, blackWon ? "BR" : "WR", value);
    case kLoser:
        return Lookup(*this, blackWon ? "PW" : "PB", value);
    default:
        return Lookup(*this, blackWon ? "WR" : "BR", value);
    }
}
