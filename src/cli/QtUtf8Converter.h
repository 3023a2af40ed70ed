#pragma once

#include "cli/CliUtf8.h"
#include "qtcore/DisplayDecoder.h"

// The --utf8 conversion of the tool: the list's display decoding.
class CQtUtf8Converter : public IUtf8Converter
{
public:
    std::string PathToUtf8(const std::string& path) override;
    std::vector<std::string> TextsToUtf8(const std::vector<std::string>& texts, const CGameEntry& entry,
                                         const std::string& path) override;
    std::string ShownUtf8(const CGameEntry& entry, std::string_view text) override;
    void NoteRecord(const std::string& path, const CGameEntry& entry) override;
    // The charset of records that name none (empty: automatic).
    void SetNoneCharset(std::string_view charset) { m_decoder.SetNoneCharset(charset); }
    // The decoder, with what it learnt of the records' folders.
    CDisplayDecoder& Decoder() { return m_decoder; }

private:
    CDisplayDecoder m_decoder;
};
