#pragma once

#include "report/GameDate.h"
#include "report/SearchText.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The quick filter over the rows. The typed text is cut at blanks into
// terms, a quoted phrase ("Lee Sedol") being one; every term must hold:
//   word          found in one of the shown cells (each word in any cell)
//   FIELD:TEXT    TEXT found in that field of the record: player: (either
//                 colour), black:, white:, winner:, loser:, event:,
//                 result:, date:, or a property identifier (PB:, EV:, ...),
//                 shown as a column or not
//   -TERM         the term must not hold
// date: takes a day, month or year, or a range of them (2016..2019, ..1990,
// 2016..), both ends included, and holds when the first date of DT lies in
// it; result:jigo (draw, 0) holds for the draws a result can name. A name
// field (player:, black:, white:, winner:, loser:) also holds when its text
// names the same player as the field: one PlayerKey, aliases followed, so
// player:"Chang Hao" finds "Chang Hao 9p" and, joined, "常昊 九段";
// written FIELD:=TEXT (player:="O Rissei") it holds for that player's
// names alone, not for another name that holds the text. Texts
// are compared in their case-folded display form, which the caller makes
// (the core has no Unicode tables): fold turns UTF-8 into that form.
class CPlayerAliases;

class CRowFilter
{
public:
    static constexpr char kCellBreak = CSearchText::kCellBreak;
    using FFold = std::function<std::string(std::string_view)>;

    // The field names, in the order the help gives them.
    static const std::vector<std::string_view>& FieldNames();

    struct STerm
    {
        enum class EKind { Word, Field, Draw, Date };
        EKind kind = EKind::Word;
        bool exclude = false;
        std::string text;                // folded: the word, or the field's text
        std::vector<std::string> fields; // the fields looked in (PB, $Winner, ...)
        std::optional<SDateSpan> range;  // for Date: nothing when the text is no date
        std::string playerKey;           // for a name field: the key of the player its text names
        bool samePlayerOnly = false;     // FIELD:=TEXT: that player's names alone, no part of another

        bool operator==(const STerm&) const = default;
    };

    CRowFilter() = default;
    // typed: the text as typed, UTF-8; aliases, when given, join the names
    // the user has joined.
    CRowFilter(std::string_view typed, const FFold& fold, const CPlayerAliases* aliases = nullptr);

    bool IsEmpty() const { return m_terms.empty(); }
    const std::vector<STerm>& Terms() const { return m_terms; }
    // Every field some term looks in, each once.
    const std::vector<std::string>& FieldIds() const { return m_fieldIds; }
    // What the typed text got wrong (an unknown field name, a date that is
    // none), one message each; the filter still runs on the rest. A term
    // with an unknown field counts as a plain word.
    const std::vector<std::string>& Problems() const { return m_problems; }

    // row: its cells and the fields of FieldIds().
    bool Matches(const CSearchText& row) const;

    // The same terms, and the same aliases behind their names: a change of
    // aliases alone can keep other rows.
    bool operator==(const CRowFilter& other) const;

private:
    struct SPlayerKeys;

    void AddTerm(std::string_view token, const FFold& fold);
    bool SamePlayer(const STerm& term, std::string_view folded) const;

    std::vector<STerm> m_terms;
    // The keys of folded names, shared by copies of the filter; made when a
    // term names a player.
    std::shared_ptr<SPlayerKeys> m_playerKeys;
    std::vector<std::string> m_fieldIds;
    std::vector<std::string> m_problems;
};
