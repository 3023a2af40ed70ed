#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ISettingsStore;

// A list of texts stored as one text: items joined by "|", a bar inside an
// item written "\|". Backslashes stand for themselves except right before a
// bar: there they are doubled, so every list, whatever its items hold (bars,
// backslashes at the end, empty items), reads back as it was written.
class CDelimStringArray : public std::vector<std::string>
{
public:
    // The joined text of a list, with its terminating zero, is expected to fit
    // in this many bytes; SaveToProfile writes a longer text whole all the same.
    static constexpr std::size_t kProfileBufferSize = 2000;

    // Replaces the list by the items of text; nullptr or empty gives the empty list.
    void Parse(const char* text);
    void Parse(std::string_view text);
    std::string Join() const;

    void LoadFromProfile(const ISettingsStore& store, std::string_view section, std::string_view key);
    void LoadFromResources(int firstString, int count);
    void LoadWithDefault(const ISettingsStore& store, std::string_view section, std::string_view key, int firstString,
                         int count);
    void SaveToProfile(ISettingsStore& store, std::string_view section, std::string_view key) const;

    // Index of the last item equal to text, or -1; an empty text gives -1.
    std::int32_t Find(std::string_view text) const;
    bool IsEqual(const CDelimStringArray& other) const;
    void CopyFrom(const CDelimStringArray& other);
    // The item read as a decimal integer by its leading digits (leading blanks
    // and a sign allowed, clamped to 32 bits); 0 without digits or outside the list.
    std::int32_t GetInt(std::int32_t index) const;
    // Sets the item to the decimal text of value; an index outside the list changes nothing.
    void SetInt(std::int32_t index, std::int32_t value);

    // The number of items text holds: 1 plus each bar preceded by an even
    // number of backslashes (none included).
    static std::size_t CountItems(std::string_view text);
};
