#pragma once

#include <filesystem>
#include <string>

struct CSampleCounts
{
    int games = 0;  // game files written and listed in the collection
    int viewed = 0; // of those, marked viewed
};

// Writes the sample games below folder (replacing an earlier set) and
// folder/sample.vnx, which lists every one of them by its absolute path.
// Each game is read back through the collection document before it is
// listed, so a sample the program cannot read fails here instead of going
// missing from the list. False with a reason on any failure.
bool WriteSampleCollection(const std::filesystem::path& folder, CSampleCounts& counts, std::string& error);
