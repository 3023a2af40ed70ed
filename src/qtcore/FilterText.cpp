#include "qtcore/FilterText.h"

#include "collection/GameEntry.h"
#include "collection/ShownText.h"
#include "players/PlayerAliases.h"
#include "qtcore/ByteText.h"
#include "qtcore/DisplayDecoder.h"
#include "qtcore/RowDisplay.h"
#include "util/AsciiFold.h"

#include <algorithm>
#include <optional>

std::string FoldedRowText(const std::vector<std::string>& cells)
{
    std::string out;
    for (const std::string& cell : cells) {
        out += BytesToDisplayText(cell).toCaseFolded().toStdString();
        out += CRowFilter::kCellBreak;
    }
    return out;
}

std::string FoldedShownText(const CShownTexts& shown)
{
    // One string for the whole row, folded and converted once: folding goes
    // character by character, so the result is the same as cell by cell.
    std::size_t chars = 0;
    for (std::size_t c = 0; c < shown.size(); ++c)
        chars += shown[c].size() + 1;
    QString row;
    row.reserve(static_cast<qsizetype>(chars));
    for (std::size_t c = 0; c < shown.size(); ++c) {
        const std::u16string_view text = shown[c];
        row.append(QStringView(text.data(), static_cast<qsizetype>(text.size())));
        row.append(QLatin1Char(CRowFilter::kCellBreak));
    }
    return row.toCaseFolded().toStdString();
}

std::string FoldedUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded().toStdString();
}

CRowFilter MakeRowFilter(const QString& typed)
{
    return CRowFilter(typed.toStdString(), FoldedUtf8);
}

CRowFilter MakeRowFilter(const QString& typed, const ISettingsStore& store)
{
    CPlayerAliases aliases;
    aliases.Load(store);
    return CRowFilter(typed.toStdString(), FoldedUtf8, &aliases);
}

namespace {

// A record's texts as the list shows them, for the derived values that read
// the result: decoded by the choice the row's own fields are decoded by.
class CChosenText : public IShownText
{
public:
    CChosenText(CDisplayDecoder& decoder, std::string_view folder) : m_decoder(decoder), m_folder(folder) {}

    std::string ShownUtf8(const CGameEntry& entry, std::string_view text) override
    {
        return m_decoder.Decode(text, m_decoder.Choose(RecordTexts(entry), RecordCharset(entry), m_folder))
            .toStdString();
    }

private:
    CDisplayDecoder& m_decoder;
    std::string_view m_folder;
};

} // namespace

void AddSearchFields(CSearchText& text, const CRowFilter& filter, const CGameEntry* entry, const ISettingsStore& store,
                     CDisplayDecoder& decoder, std::string_view folder)
{
    CChosenText shown(decoder, folder);
    // The charset is chosen once per row, and only when a field is missing.
    std::optional<CDisplayDecoder::SChoice> choice;
    for (const std::string& id : filter.FieldIds()) {
        if (text.HasField(id))
            continue;
        std::string value;
        if (!entry || !entry->GetValue(id, value, store, &shown)) {
            text.AddField(id, nullptr);
            continue;
        }
        // Most values are ASCII, which every rule shows as it is and which
        // folds to lower case: no charset, no conversion.
        if (std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            AsciiLowerInPlace(value);
            text.AddField(id, &value);
            continue;
        }
        if (!choice)
            choice = decoder.Choose(RecordTexts(*entry), RecordCharset(*entry), folder);
        const std::string folded = decoder.Decode(value, *choice).toCaseFolded().toStdString();
        text.AddField(id, &folded);
    }
}
