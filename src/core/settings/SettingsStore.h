#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The per-user settings store: typed values in sections, read with the
// caller's default. Strings are bytes. An empty section means a value that
// sits directly under the application key (the toolbar layout "Toolbar").
// Writes take effect at once and report nothing.
class ISettingsStore
{
public:
    virtual ~ISettingsStore() = default;

    virtual std::string GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue = {}) const = 0;
    virtual std::int32_t GetProfileInt(std::string_view section, std::string_view key,
                                       std::int32_t defaultValue) const = 0;
    // The bytes of a binary value, or nothing when it is absent.
    virtual std::optional<std::string> GetProfileBinary(std::string_view section, std::string_view key) const = 0;

    virtual void WriteProfileString(std::string_view section, std::string_view key, std::string_view value) = 0;
    virtual void WriteProfileInt(std::string_view section, std::string_view key, std::int32_t value) = 0;
    virtual void WriteProfileBinary(std::string_view section, std::string_view key, std::string_view bytes) = 0;
};
