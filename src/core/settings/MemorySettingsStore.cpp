#include "settings/MemorySettingsStore.h"

#include <charconv>

namespace {
template <typename Map> auto Lookup(const Map& values, std::string_view section, std::string_view key)
{
    return values.find(std::make_pair(std::string(section), std::string(key)));
}
} // namespace

std::string CMemorySettingsStore::GetProfileString(std::string_view section, std::string_view key,
                                                   std::string_view defaultValue) const
{
    const auto it = Lookup(m_values, section, key);
    if (it == m_values.end()) {
        return std::string(defaultValue);
    }
    if (const auto* text = std::get_if<std::string>(&it->second)) {
        return *text;
    }
    if (const auto* number = std::get_if<std::int32_t>(&it->second)) {
        return std::to_string(*number);
    }
    return std::get<Binary>(it->second).bytes;
}

// Every value reads as every type, as in the Qt store, where a value read back
// from the file has lost its type. A string value reads as a number only when it is one whole decimal number
// within 32 bits, as in the Qt store; anything else gives the default.
std::int32_t CMemorySettingsStore::GetProfileInt(std::string_view section, std::string_view key,
                                                 std::int32_t defaultValue) const
{
    const auto it = Lookup(m_values, section, key);
    if (it == m_values.end()) {
        return defaultValue;
    }
    if (const auto* number = std::get_if<std::int32_t>(&it->second)) {
        return *number;
    }
    const auto* binary = std::get_if<Binary>(&it->second);
    const std::string* text = binary != nullptr ? &binary->bytes : &std::get<std::string>(it->second);
    std::int32_t value = 0;
    const char* first = text->data();
    const char* last = text->data() + text->size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) {
        return defaultValue;
    }
    return value;
}

std::optional<std::string> CMemorySettingsStore::GetProfileBinary(std::string_view section, std::string_view key) const
{
    const auto it = Lookup(m_values, section, key);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    if (const auto* binary = std::get_if<Binary>(&it->second)) {
        return binary->bytes;
    }
    if (const auto* text = std::get_if<std::string>(&it->second)) {
        return *text;
    }
    return std::to_string(std::get<std::int32_t>(it->second));
}

void CMemorySettingsStore::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    m_values[std::make_pair(std::string(section), std::string(key))] = std::string(value);
}

void CMemorySettingsStore::WriteProfileInt(std::string_view section, std::string_view key, std::int32_t value)
{
    m_values[std::make_pair(std::string(section), std::string(key))] = value;
}

void CMemorySettingsStore::WriteProfileBinary(std::string_view section, std::string_view key, std::string_view bytes)
{
    m_values[std::make_pair(std::string(section), std::string(key))] = Binary{std::string(bytes)};
}
