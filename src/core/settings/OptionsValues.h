#pragma once

#include "settings/DelimStringArray.h"

#include <string>

class ISettingsStore;

// What the options sheet edits: the viewer program, the user's own player
// names and the two column lists.
struct COptionsValues
{
    std::string viewer;
    std::string myNames;
    CDelimStringArray definitions;
    CDelimStringArray shown;
    // "Misc"/"Charset": the charset of records that name none, empty for automatic.
    std::string noneCharset;
};

// "Misc"/"MGT Viewer", "Misc"/"My Names", "Header"/"Definition" (the default
// definitions when missing or empty) and "Header"/"Index".
COptionsValues LoadOptions(const ISettingsStore& store);

// The steps after OK. The viewer is always written; the names when they differ
// from what the store holds now; both lists when either differs from its copy
// as loaded. True when the columns and rows must be rebuilt: the derived
// values depend on the names, so a change of names alone counts too.
bool SaveOptions(ISettingsStore& store, const COptionsValues& edited, const COptionsValues& loaded);
