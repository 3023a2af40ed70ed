#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class CGameEntry;
class ISettingsStore;
class IUtf8Converter;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Every command fails with exit status 1 when its standard output cannot be
// written whole.
//
// info: for each file "PATH<TAB>ok" or "PATH<TAB>fail", after an ok line one
// "<TAB>ID<TAB>VALUE" line per property in bytewise order of ID, every field
// escaped so that a record stays on its line. With utf8, PATH and VALUE are
// converted to UTF-8 first. game picks the game of each file (from 0, in
// file order); a file without that game is a fail line, its reason on err,
// and makes the exit status 1.
int RunInfo(const std::vector<std::string>& files, std::ostream& out, std::ostream& err, IUtf8Converter* utf8 = nullptr,
            std::size_t game = 0);

// add: the collection file (a missing one starts empty) gets every game file
// of paths; folders are walked. Paths are stored absolute and lexically
// normalised. Prints "added N, already present M, unreadable K". A path that
// cannot be read at all is named on err with the reason and makes the exit
// status 1; when no path could be read nothing is written. Stored records
// whose game files cannot be read are kept, their count noted on err.
// verbose names each file of a folder that is not a game record.
// cacheFolder, when not empty, holds the header caches: opening the
// collection reads only the game files that changed since they were cached.
int RunAdd(const std::string& collection, const std::vector<std::string>& paths, std::ostream& out, std::ostream& err,
           bool verbose = false, const std::string& cacheFolder = {});

// list: the bytes Export writes right after the collection is opened in the
// details style. fullPath overrides the stored "Frame"/"Full Path". With
// utf8, every cell is converted to UTF-8. keep, when given, picks the rows
// written (the quick filter's rule). keepDecoder gives the texts as the
// window shows them, to the filter and to the comparison with "My Names".
// cacheFolder as for RunAdd. escape writes backslash, TAB, LF and CR in
// cells as "\\", "\t", "\n", "\r".
int RunList(const std::string& collection, std::optional<bool> fullPath, const ISettingsStore& store, std::ostream& out,
            std::ostream& err, IUtf8Converter* utf8 = nullptr,
            const std::function<bool(const std::vector<std::string>& cells, const CGameEntry* entry,
                                     const std::string& path)>& keep = {},
            IUtf8Converter* keepDecoder = nullptr, const std::string& cacheFolder = {}, bool escape = false);
