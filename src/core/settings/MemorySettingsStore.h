#pragma once

#include "settings/SettingsStore.h"

#include <map>
#include <string>
#include <variant>

// A settings store held in memory, for tests and for runs that must not
// touch the user's settings.
class CMemorySettingsStore : public ISettingsStore
{
public:
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue = {}) const override;
    std::int32_t GetProfileInt(std::string_view section, std::string_view key,
                               std::int32_t defaultValue) const override;
    std::optional<std::string> GetProfileBinary(std::string_view section, std::string_view key) const override;

    void WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;
    void WriteProfileInt(std::string_view section, std::string_view key, std::int32_t value) override;
    void WriteProfileBinary(std::string_view section, std::string_view key, std::string_view bytes) override;

private:
    struct Binary
    {
        std::string bytes;
    };
    using Value = std::variant<std::string, std::int32_t, Binary>;
    std::map<std::pair<std::string, std::string>, Value, std::less<>> m_values;
};
