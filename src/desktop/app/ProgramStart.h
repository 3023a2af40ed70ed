#pragma once

#include <string>
#include <vector>

// Starts program with arguments, detached, without a shell; true when the
// program actually started (a missing program, a file that is not
// executable or a folder is not started). Program and arguments are the
// file system's bytes and reach the program unchanged.
bool StartDetachedProgram(const std::string& program, const std::vector<std::string>& arguments);
