#include "desktop/app/DisplayCheck.h"

namespace {

// The platforms Qt would try: the -platform argument, else QT_QPA_PLATFORM,
// each a ';'-separated list of names with options after ':'. Empty: Qt's
// own choice, which on this system is X11 or Wayland.
std::string RequestedPlatforms(const std::vector<std::string>& arguments,
                               const std::function<std::string(const char*)>& environment)
{
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-platform" || arguments[i] == "--platform")
            return arguments[i + 1];
    }
    return environment("QT_QPA_PLATFORM");
}

bool NeedsDisplay(const std::string& platforms)
{
    if (platforms.empty())
        return true;
    std::size_t start = 0;
    while (start <= platforms.size()) {
        std::size_t end = platforms.find(';', start);
        if (end == std::string::npos)
            end = platforms.size();
        const std::string entry = platforms.substr(start, end - start);
        const std::string name = entry.substr(0, entry.find(':'));
        if (!name.empty() && name != "xcb" && name.rfind("wayland", 0) != 0)
            return false; // offscreen, minimal, vnc, eglfs...: no display asked for
        start = end + 1;
    }
    return true;
}

} // namespace

std::optional<std::string> NoDisplayReason(const std::vector<std::string>& arguments,
                                           const std::function<std::string(const char*)>& environment)
{
    if (!NeedsDisplay(RequestedPlatforms(arguments, environment)))
        return std::nullopt;
    if (!environment("DISPLAY").empty() || !environment("WAYLAND_DISPLAY").empty())
        return std::nullopt;
    return "no display found: neither DISPLAY nor WAYLAND_DISPLAY is set. Start Varnex in a desktop session, "
           "or with QT_QPA_PLATFORM=offscreen to run it without a screen.";
}
