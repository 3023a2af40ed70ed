#pragma once

#include "settings/DelimStringArray.h"

#include <string>
#include <string_view>
#include <vector>

// Headers are matched between the lists by exact text without regard to
// letter case (ASCII letters only: the texts are bytes).
bool SameHeader(std::string_view a, std::string_view b);

// The two lists of the Column Headers page and their selections: every
// definition text whole on the left ("Available"), the headers of the shown
// columns in display order on the right ("Headers"). The buttons act on the
// selections and leave them as the user expects: an inserted or moved line
// selected, after a deletion the line that moved into its place.
class CHeaderLists
{
public:
    static constexpr int kNone = -1;

    // Fills both lists. An empty shown list shows every definition. A shown
    // position that is not a position in the definition list gives no line;
    // their number is answered.
    int Load(const CDelimStringArray& definitions, const CDelimStringArray& shown);

    void MoveRight(); // ">>"
    void MoveLeft();  // "<<"
    void MoveUp();
    void MoveDown();
    // "Add" once the new column dialog was confirmed: the definition goes in
    // front of the selected Available line, or at the end.
    void InsertDefinition(std::string definition);
    void Remove();

    // Turns the visible lists back into the stored ones. Shown items that no
    // definition claims keep the text they had.
    void Apply(CDelimStringArray& definitions, CDelimStringArray& shown) const;

    // First Headers line equal to header (case ignored), or kNone.
    int FindHeader(std::string_view header) const;

    std::vector<std::string> m_available;
    std::vector<std::string> m_headers;
    int m_selAvailable = kNone;
    int m_selHeaders = kNone;

private:
    // Drops selections that no longer name a line.
    void KeepValidSelections();
};
