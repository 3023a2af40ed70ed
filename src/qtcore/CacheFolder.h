#pragma once

#include <string>

// The folder of the header caches, as the bytes of its path: the user's
// cache location for Pellmore/Varnex (~/.cache/Pellmore/Varnex on Linux).
// Empty when the platform names none.
std::string HeaderCacheFolder();
