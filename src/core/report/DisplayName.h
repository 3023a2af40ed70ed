#pragma once

#include <string>
#include <string_view>

// The text of the "File Name" column: the path unchanged with full-path
// display on, else its final component (after the last '/' or '\'), whole.
std::string GetDisplayName(std::string_view path, bool fullPath);
