#include "qtcore/DecodedText.h"

#include "qtcore/RowDisplay.h"

std::string CDecodedText::ShownUtf8(const CGameEntry& entry, std::string_view text)
{
    const CDisplayDecoder::SChoice choice = m_decoder.Choose(RecordTexts(entry), RecordCharset(entry));
    return m_decoder.Decode(text, choice).toStdString();
}
