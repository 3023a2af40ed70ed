#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class ISettingsStore;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// info: for each file "PATH<TAB>ok" or "PATH<TAB>fail", after an ok line one
// "<TAB>ID<TAB>VALUE" line per property in bytewise order of ID, every field
// escaped so that a record stays on its line.
int RunInfo(const std::vector<std::string>& files, std::ostream& out, std::ostream& err);

// add: the collection file (a missing one starts empty) gets every game file
// of paths; folders are walked. Paths are stored absolute and lexically
// normalised. Prints "added N, already present M, unreadable K".
int RunAdd(const std::string& collection, const std::vector<std::string>& paths, std::ostream& out,
           std::ostream& err);

// list: the bytes Export writes right after the collection is opened in the
// details style. fullPath overrides the stored "Frame"/"Full Path".
int RunList(const std::string& collection, std::optional<bool> fullPath, const ISettingsStore& store,
            std::ostream& out, std::ostream& err);
