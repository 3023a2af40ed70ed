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
    std::string out;
    for (std::size_t c = 0; c < shown.size(); ++c) {
        const std::u16string_view text = shown[c];
        out += QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded().toStdString();
        out += CRowFilter::kCellBreak;
    }
    return out;
}

CRowFilter MakeRowFilter(const QString& typed)
{
    return CRowFilter(typed.toCaseFolded().toStdString());
}
