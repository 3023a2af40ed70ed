#include "desktop/players/GameNameDecoder.h"

#include "qtcore/RowDisplay.h"

void CGameNameDecoder::BeginFile(std::string_view path)
{
    m_folder = FolderOf(path);
    m_entry = nullptr;
}

std::string CGameNameDecoder::ShownUtf8(const CGameEntry& entry, std::string_view text)
{
    if (&entry != m_entry) {
        m_choice = m_decoder.Choose(RecordTexts(entry), RecordCharset(entry), m_folder);
        m_decoder.NoteFolderChoice(m_folder, m_choice);
        m_entry = &entry;
    }
    return m_decoder.Decode(text, m_choice).toStdString();
}
