#include "qtcore/RowDisplay.h"

#include "collection/GameEntry.h"
#include "qtcore/ByteText.h"
#include "report/ReportRows.h"

namespace {

std::u16string_view ToShown(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

std::vector<std::string_view> RecordTexts(const CGameEntry& entry)
{
    std::vector<std::string_view> texts;
    texts.reserve(entry.m_props.size());
    for (const auto& item : entry.m_props.Items())
        texts.emplace_back(item.second);
    return texts;
}

std::string_view RecordCharset(const CGameEntry& entry)
{
    const CPropertyValue ca = entry.m_props.Find("CA");
    return ca ? std::string_view(*ca) : std::string_view();
}

std::string_view FolderOf(std::string_view path)
{
#ifdef _WIN32
    const std::size_t cut = path.find_last_of("/\\");
#else
    const std::size_t cut = path.rfind('/');
#endif
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

CDisplayDecoder::ERule DecodeRowForDisplay(CReportRow& row, const CGameEntry* entry, CDisplayDecoder& decoder)
{
    row.shown.clear();
    if (row.cells.empty())
        return CDisplayDecoder::ERule::Ascii;
    std::vector<QString> texts;
    texts.reserve(row.cells.size());
    texts.push_back(BytesToDisplayText(row.cells[0]));
    CDisplayDecoder::SChoice choice;
    if (entry) {
        const std::string_view folder = FolderOf(row.key);
        choice = decoder.Choose(RecordTexts(*entry), RecordCharset(*entry), folder);
        decoder.NoteFolderChoice(folder, choice);
    } else {
        const std::vector<std::string_view> cells(row.cells.begin() + 1, row.cells.end());
        choice = decoder.Choose(cells, {});
    }
    for (std::size_t c = 1; c < row.cells.size(); ++c)
        texts.push_back(decoder.Decode(row.cells[c], choice));
    std::size_t chars = 0;
    for (const QString& text : texts)
        chars += static_cast<std::size_t>(text.size());
    row.shown.reserve(texts.size(), chars);
    for (const QString& text : texts)
        row.shown.push_back(ToShown(text));
    return choice.rule;
}

QString ShownToQString(std::u16string_view shown)
{
    return QString(reinterpret_cast<const QChar*>(shown.data()), static_cast<qsizetype>(shown.size()));
}
