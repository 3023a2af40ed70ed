// The texts users type and records hold, through the parsers of the filter
// and the sort: the filter's terms (fields, dates, exclusions) matched
// against rows from the input, dates, ranks, the column kinds of sorting
// by meaning, the row comparison and the shell word splitter. The input is
// cut at NUL bytes: the typed filter first, then the cells of rows.
#include "report/GameDate.h"
#include "report/MeaningOrder.h"
#include "report/RankValue.h"
#include "report/RowCompare.h"
#include "report/RowFilter.h"
#include "report/SearchText.h"
#include "report/ShellWords.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string AsciiFold(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

int Sign(int n)
{
    return (n > 0) - (n < 0);
}

// A date read from one text: a day, a month or a year, first to last. A
// range typed in a filter may run backwards (and then holds nothing), so
// only its ends are checked.
void CheckDate(const std::optional<SDateSpan>& span, bool ordered = true)
{
    if (!span)
        return;
    if ((ordered && span->first > span->last) || span->first < 0 || span->last < 0 || span->first > 99991231 ||
        span->last > 99991231)
        __builtin_trap();
}

// Single quotes keep every byte but a quote, written '\'' instead.
std::string ShellQuoted(std::string_view word)
{
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    for (std::string_view rest = input;;) {
        const std::size_t end = rest.find('\0');
        parts.push_back(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }

    // The words the splitter gives, quoted again, split back into themselves.
    const std::vector<std::string> words = SplitShellWords(input);
    std::string again;
    for (const std::string& word : words)
        again += ShellQuoted(word) + ' ';
    if (SplitShellWords(again) != words)
        __builtin_trap();

    const std::string_view typed = parts.front();
    const CRowFilter filter(typed, AsciiFold);
    if (!(filter == CRowFilter(typed, AsciiFold)))
        __builtin_trap();
    for (const CRowFilter::STerm& term : filter.Terms()) {
        if (term.kind == CRowFilter::STerm::EKind::Date)
            CheckDate(term.range, false);
    }

    std::vector<std::string_view> values;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        // A row: its cells, and each field the filter asks for holding the
        // part (or absent, every other row).
        CSearchText row;
        for (const std::string_view cell : {part.substr(0, part.size() / 2), part.substr(part.size() / 2)}) {
            row.cells += AsciiFold(cell);
            row.cells += CSearchText::kCellBreak;
        }
        const std::string folded = AsciiFold(part);
        for (const std::string& id : filter.FieldIds())
            row.AddField(id, i % 2 ? &folded : nullptr);
        for (const std::string& id : filter.FieldIds()) {
            if (!row.HasField(id) || row.Field(id).has_value() != (i % 2 == 1))
                __builtin_trap();
        }
        filter.Matches(row);

        CheckDate(FirstDate(part));
        CheckDate(WholeDate(part));
        if (const auto strength = RankStrength(part); strength && (*strength < 70 || *strength > 209))
            __builtin_trap();
        values.push_back(part);
    }

    for (const EColumnKind kind : {ColumnKindOf(values), EColumnKind::Ranks, EColumnKind::Dates}) {
        for (const std::string_view value : values) {
            if (MeaningKey(kind, value) < -1)
                __builtin_trap();
        }
    }
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        const int forward = CompareRows(values[i], values[i + 1], true);
        if (Sign(forward) != -Sign(CompareRows(values[i + 1], values[i], true)) ||
            Sign(forward) != -Sign(CompareRows(values[i], values[i + 1], false)) ||
            CompareRows(values[i], values[i], true) != 0)
            __builtin_trap();
    }
    return 0;
}
