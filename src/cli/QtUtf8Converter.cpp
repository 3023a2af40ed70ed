#include "cli/QtUtf8Converter.h"

#include "qtcore/ByteText.h"
#include "qtcore/RowDisplay.h"

std::string CQtUtf8Converter::PathToUtf8(const std::string& path)
{
    return BytesToDisplayText(path).toStdString();
}

std::string CQtUtf8Converter::ShownUtf8(const CGameEntry& entry, std::string_view text)
{
    return TextsToUtf8({std::string(text)}, entry, std::string()).front();
}

void CQtUtf8Converter::NoteRecord(const std::string& path, const CGameEntry& entry)
{
    const std::string_view folder = FolderOf(path);
    m_decoder.NoteFolderChoice(folder, m_decoder.Choose(RecordTexts(entry), RecordCharset(entry), folder));
}

std::vector<std::string> CQtUtf8Converter::TextsToUtf8(const std::vector<std::string>& texts, const CGameEntry& entry,
                                                       const std::string& path)
{
    const CDisplayDecoder::SChoice choice = m_decoder.Choose(RecordTexts(entry), RecordCharset(entry), FolderOf(path));
    std::vector<std::string> converted;
    converted.reserve(texts.size());
    for (const std::string& text : texts)
        converted.push_back(m_decoder.Decode(text, choice).toStdString());
    return converted;
}
