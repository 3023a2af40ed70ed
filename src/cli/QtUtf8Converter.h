#pragma once

#include "cli/CliUtf8.h"
#include "qtcore/DisplayDecoder.h"

// The --utf8 conversion of the tool: the list's display decoding.
class CQtUtf8Converter : public IUtf8Converter
{
public:
    std::string PathToUtf8(const std::string& path) override;
    std::vector<std::string> TextsToUtf8(const std::vector<std::string>& texts, const CGameEntry& entry) override;
    std::string ShownUtf8(const CGameEntry& entry, std::string_view text) override;

private:
    CDisplayDecoder m_decoder;
};
