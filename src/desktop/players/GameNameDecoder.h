#pragma once

#include "collection/ShownText.h"
#include "qtcore/DisplayDecoder.h"

#include <string>
#include <string_view>

class CGameEntry;

// The names and result of the games the dock counts, decoded as the list
// shows them: one charset chosen for a record from all its texts (the
// record's CA, UTF-8, the charset chosen for records naming none, the
// detector, its folder's), and the record counted towards its folder's.
// The choice is made once a game, not once a text: choosing looks at every
// text of the record.
class CGameNameDecoder : public IShownText
{
public:
    // The games that follow are in the file at path; forgets the last choice.
    void BeginFile(std::string_view path);
    // The charset of records that name none, as the options set it.
    void SetNoneCharset(std::string_view charset) { m_decoder.SetNoneCharset(charset); }

    std::string ShownUtf8(const CGameEntry& entry, std::string_view text) override;

private:
    CDisplayDecoder m_decoder;
    std::string m_folder;
    // The game the choice was made for: only within one file's games, which
    // stay put while they are counted.
    const CGameEntry* m_entry = nullptr;
    CDisplayDecoder::SChoice m_choice;
};
