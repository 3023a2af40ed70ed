#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Starts program with arguments, detached, without a shell; true when the
// program actually started (a missing program, a file that is not
// executable or a folder is not started). Program and arguments are the
// file system's bytes and reach the program unchanged. The program runs in
// its own session with default signal handling and none of our descriptors
// beyond the standard three. Call from the GUI thread only.
bool StartDetachedProgram(const std::string& program, const std::vector<std::string>& arguments);

// A started program stays our child until it ends; this collects the end of
// every one that has ended, without waiting, and returns how many still run.
// It looks only at the programs started above, never at other children (Qt
// waits for its own). While any started program runs, a timer on the
// application calls it (a start calls it when there is no application), so
// none is left a zombie.
std::size_t ReapEndedPrograms();
