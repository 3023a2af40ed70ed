#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Why no window can be shown, told before the application object is made:
// without a display Qt's X11 and Wayland platforms abort the program with
// advice to reinstall it. Nothing when a display is named or another
// platform is asked for (-platform, QT_QPA_PLATFORM). environment gives a
// variable's value, empty when it is not set.
std::optional<std::string> NoDisplayReason(const std::vector<std::string>& arguments,
                                           const std::function<std::string(const char* name)>& environment);
