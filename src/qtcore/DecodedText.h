#pragma once

#include "collection/ShownText.h"
#include "qtcore/DisplayDecoder.h"

// Record texts decoded as the list shows them.
class CDecodedText : public IShownText
{
public:
    std::string ShownUtf8(const CGameEntry& entry, std::string_view text) override;

private:
    CDisplayDecoder m_decoder;
};
