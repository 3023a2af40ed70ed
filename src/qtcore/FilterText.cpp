#include "qtcore/FilterText.h"

#include "qtcore/ByteText.h"

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

CRowFilter MakeRowFilter(const QString& typed)
{
    return CRowFilter(typed.toCaseFolded().toStdString());
}
