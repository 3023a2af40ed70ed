#include "report/RowFilter.h"

#include "players/PlayerAliases.h"
#include "players/PlayerName.h"
#include "util/AsciiFold.h"
#include "util/TextTrim.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <unordered_map>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string WithoutQuotes(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (c != '"')
            out += c;
    return out;
}

// A line break inside a quoted term is a blank: the cell break is one, and a
// term holding it would match the end of one cell and the start of the next.
std::string WithoutLineBreaks(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == CRowFilter::kCellBreak)
            c = ' ';
    return text;
}

struct SNamedField
{
    std::string_view name;
    std::vector<std::string> fields;
    bool namesPlayer = false;
};

const std::vector<SNamedField>& NamedFields()
{
    static const std::vector<SNamedField> named = {
        {"player", {"PB", "PW"}, true}, {"black", {"PB"}, true}, {"white", {"PW"}, true}, {"winner", {"$Winner"}, true},
        {"loser", {"$Loser"}, true},    {"event", {"EV"}},       {"result", {"RE"}},      {"date", {"DT"}},
    };
    return named;
}

// The texts of a result that mean a draw, folded: also 和棋, 和, 和局
// (Chinese), 持碁, ジゴ (Japanese) and 무승부 (Korean), as the list shows them.
// None names a colour before a win word, so none has a winner either.
bool IsDrawText(std::string_view text)
{
    static constexpr std::string_view kDraws[] = {
        "0",
        "draw",
        "jigo",
        "\xE5\x92\x8C\xE6\xA3\x8B",             // 和棋
        "\xE5\x92\x8C",                         // 和
        "\xE5\x92\x8C\xE5\xB1\x80",             // 和局
        "\xE6\x8C\x81\xE7\xA2\x81",             // 持碁
        "\xE3\x82\xB8\xE3\x82\xB4",             // ジゴ
        "\xEB\xAC\xB4\xEC\x8A\xB9\xEB\xB6\x80", // 무승부
    };
    return std::find(std::begin(kDraws), std::end(kDraws), text) != std::end(kDraws);
}

std::string_view Trimmed(std::string_view text)
{
    return TrimmedBy(text, IsBlank);
}

// "2016", "2016-03..2019", "..1990", "2016..": both ends included.
std::optional<SDateSpan> DateRange(std::string_view text)
{
    const std::size_t dots = text.find("..");
    if (dots == std::string_view::npos)
        return WholeDate(text);
    const std::string_view from = text.substr(0, dots);
    const std::string_view to = text.substr(dots + 2);
    if (from.empty() && to.empty())
        return std::nullopt;
    SDateSpan range{0, 99991231};
    if (!from.empty()) {
        const std::optional<SDateSpan> date = WholeDate(from);
        if (!date)
            return std::nullopt;
        range.first = date->first;
    }
    if (!to.empty()) {
        const std::optional<SDateSpan> date = WholeDate(to);
        if (!date)
            return std::nullopt;
        range.last = date->last;
    }
    return range;
}

} // namespace

// The player keys of folded names: the filter compares folded texts, so the
// aliases are keyed by their names folded alike.
struct CRowFilter::SPlayerKeys
{
    std::unordered_map<std::string, std::string> aliasKeys;
    // A collection names far fewer players than it has rows: each field text
    // is keyed once. Copies of a filter share this, hence the lock.
    std::mutex mutex;
    std::unordered_map<std::string, std::string> known;

    std::string KeyOf(std::string_view folded) const
    {
        std::string key = PlayerKey(folded);
        const auto alias = aliasKeys.find(key);
        return alias == aliasKeys.end() ? key : alias->second;
    }
};

const std::vector<std::string_view>& CRowFilter::FieldNames()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> list;
        for (const SNamedField& named : NamedFields())
            list.push_back(named.name);
        return list;
    }();
    return names;
}

CRowFilter::CRowFilter(std::string_view typed, const FFold& fold, const CPlayerAliases* aliases)
    : m_playerKeys(std::make_shared<SPlayerKeys>())
{
    if (aliases) {
        for (const std::vector<std::string>& group : aliases->Groups()) {
            const std::string head = PlayerKey(fold(group.front()));
            for (const std::string& name : group)
                m_playerKeys->aliasKeys.emplace(PlayerKey(fold(name)), head);
        }
    }
    std::size_t i = 0;
    while (i < typed.size()) {
        while (i < typed.size() && IsBlank(typed[i]))
            ++i;
        // A token runs to the next blank outside quotes; a quote left open
        // runs to the end.
        std::string token;
        bool inQuotes = false;
        while (i < typed.size() && (inQuotes || !IsBlank(typed[i]))) {
            if (typed[i] == '"')
                inQuotes = !inQuotes;
            token += typed[i++];
        }
        if (!token.empty())
            AddTerm(token, fold);
    }
}

void CRowFilter::AddTerm(std::string_view token, const FFold& fold)
{
    STerm term;
    std::string_view rest(token);
    // A minus typed on the way to a term asks for nothing yet.
    if (rest == "-")
        return;
    if (rest.size() > 1 && rest.front() == '-') {
        term.exclude = true;
        rest.remove_prefix(1);
    }
    // FIELD: letters up to a colon, before any quote.
    std::size_t letters = 0;
    while (letters < rest.size() && IsLetter(rest[letters]))
        ++letters;
    const bool hasField = letters > 0 && letters < rest.size() && rest[letters] == ':';
    if (hasField) {
        std::string name;
        for (char c : rest.substr(0, letters))
            name += AsciiLower(c);
        std::string_view value = rest.substr(letters + 1);
        // FIELD:=TEXT asks for the player TEXT names and no one else.
        const bool exact = !value.empty() && value.front() == '=';
        if (exact)
            value.remove_prefix(1);
        const std::string text = WithoutLineBreaks(fold(WithoutQuotes(value)));
        const auto named = std::find_if(NamedFields().begin(), NamedFields().end(),
                                        [&](const SNamedField& field) { return field.name == name; });
        bool known = true;
        if (named != NamedFields().end()) {
            term.fields = named->fields;
        } else if (letters <= 2) {
            // The reader keeps a property's identifier as at most two capitals.
            std::string id;
            for (char c : rest.substr(0, letters))
                id += AsciiUpper(c);
            term.fields = {id};
        } else {
            known = false;
            m_problems.push_back("Unknown field \"" + std::string(rest.substr(0, letters + 1)) + "\"");
        }
        if (known) {
            term.kind = STerm::EKind::Field;
            if (named != NamedFields().end() && named->name == "date") {
                term.kind = STerm::EKind::Date;
                if (!text.empty()) {
                    term.range = DateRange(text);
                    if (!term.range)
                        m_problems.push_back("\"" + text + "\" is not a date or a range of dates");
                }
            } else if (named != NamedFields().end() && named->name == "result" && IsDrawText(text)) {
                term.kind = STerm::EKind::Draw;
            }
            // A field with nothing after its colon yet asks for nothing.
            if (text.empty())
                return;
            term.text = text;
            if (named != NamedFields().end() && named->namesPlayer) {
                term.playerKey = m_playerKeys->KeyOf(text);
                term.samePlayerOnly = exact && !term.playerKey.empty();
            }
        }
    }
    if (term.kind == STerm::EKind::Word) {
        term.fields.clear();
        term.text = WithoutLineBreaks(fold(WithoutQuotes(rest)));
        if (term.text.empty())
            return;
    }
    for (const std::string& field : term.fields)
        if (std::find(m_fieldIds.begin(), m_fieldIds.end(), field) == m_fieldIds.end())
            m_fieldIds.push_back(field);
    m_terms.push_back(std::move(term));
}

bool CRowFilter::Matches(const CSearchText& row) const
{
    for (const STerm& term : m_terms) {
        bool holds = false;
        switch (term.kind) {
        case STerm::EKind::Word:
            holds = row.cells.find(term.text) != std::string::npos;
            break;
        case STerm::EKind::Field:
            holds = std::any_of(term.fields.begin(), term.fields.end(), [&](const std::string& id) {
                const std::optional<std::string_view> value = row.Field(id);
                if (!value)
                    return false;
                if (term.samePlayerOnly)
                    return SamePlayer(term, *value);
                return value->find(term.text) != std::string_view::npos ||
                       (!term.playerKey.empty() && SamePlayer(term, *value));
            });
            break;
        case STerm::EKind::Draw:
            if (const std::optional<std::string_view> value = row.Field(term.fields.front()))
                holds = IsDrawText(Trimmed(*value));
            break;
        case STerm::EKind::Date:
            if (const std::optional<std::string_view> value = row.Field(term.fields.front())) {
                const std::optional<SDateSpan> date = FirstDate(*value);
                holds = term.range && date && date->Within(*term.range);
            }
            break;
        }
        if (holds == term.exclude)
            return false;
    }
    return true;
}

bool CRowFilter::SamePlayer(const STerm& term, std::string_view folded) const
{
    SPlayerKeys& keys = *m_playerKeys;
    const std::lock_guard lock(keys.mutex);
    auto known = keys.known.find(std::string(folded));
    if (known == keys.known.end())
        known = keys.known.emplace(std::string(folded), keys.KeyOf(folded)).first;
    return known->second == term.playerKey;
}

bool CRowFilter::operator==(const CRowFilter& other) const
{
    if (m_terms != other.m_terms)
        return false;
    const bool namesPlayer =
        std::any_of(m_terms.begin(), m_terms.end(), [](const STerm& term) { return !term.playerKey.empty(); });
    if (!namesPlayer || m_playerKeys == other.m_playerKeys)
        return true;
    return m_playerKeys && other.m_playerKeys && m_playerKeys->aliasKeys == other.m_playerKeys->aliasKeys;
}
