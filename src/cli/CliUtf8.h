#pragma once

#include "collection/ShownText.h"

#include <string>
#include <vector>

class CGameEntry;

// Converts what the tool prints to UTF-8 for --utf8, by the rule the list
// shows texts with. The commands stay free of Qt; the tool hands them the
// converter that knows charsets. It also gives the texts as shown, for
// comparing the user's names.
class IUtf8Converter : public IShownText
{
public:
    virtual ~IUtf8Converter() = default;
    // A path, as the list shows file names: UTF-8, a byte that is not UTF-8
    // as its Latin-1 character.
    virtual std::string PathToUtf8(const std::string& path) = 0;
    // Texts of the record entry, all by the one charset chosen for it; folder
    // is where its file is (empty when unknown), which the choice may learn from.
    virtual std::vector<std::string> TextsToUtf8(const std::vector<std::string>& texts, const CGameEntry& entry,
                                                 const std::string& path) = 0;
    // Tells of a record of the collection before any is converted, so that
    // records the detector cannot place take their folder's charset, as in
    // the list.
    virtual void NoteRecord(const std::string& path, const CGameEntry& entry) = 0;
};
