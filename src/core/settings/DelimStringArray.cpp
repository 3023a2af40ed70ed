#include "settings/DelimStringArray.h"

#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

#include <cctype>
#include <limits>

// The texts are UTF-8, where every byte of a multi-byte character has its top
// bit set. Neither "|" nor "\" can occur inside a character, so scanning the
// bytes one by one never splits a character.
namespace {
constexpr char kBar = '|';
constexpr char kEscape = '\\';

// The string resources are read through a work buffer of this many bytes,
// terminating zero included.
constexpr std::size_t kResourceBufferSize = 400;

// A bar ends an item when the backslashes right before it are even in
// number: 2n of them stand for n backslashes at the end of the item, 2n + 1
// for n backslashes and a bar inside it. Backslashes anywhere else stand for
// themselves. Texts written before items could end in a backslash used one
// backslash before a bar inside an item and never doubled any, so they read
// as they always did, unless an item held a backslash right before a bar.
std::size_t BackslashesBefore(std::string_view text, std::size_t bar)
{
    std::size_t count = 0;
    while (count < bar && text[bar - 1 - count] == kEscape) {
        ++count;
    }
    return count;
}

bool IsSeparator(std::string_view text, std::size_t i)
{
    return text[i] == kBar && BackslashesBefore(text, i) % 2 == 0;
}

// piece holds no separator; its last bar-free run of backslashes is halved
// when a separator follows it (endsAtSeparator).
std::string Unescape(std::string_view piece, bool endsAtSeparator)
{
    std::string item;
    item.reserve(piece.size());
    std::size_t i = 0;
    while (i < piece.size()) {
        if (piece[i] != kEscape) {
            item += piece[i++];
            continue;
        }
        std::size_t run = 0;
        while (i + run < piece.size() && piece[i + run] == kEscape) {
            ++run;
        }
        i += run;
        if (i < piece.size() && piece[i] == kBar) {
            item.append(run / 2, kEscape);
            item += kBar;
            ++i;
        } else if (i == piece.size() && endsAtSeparator) {
            item.append(run / 2, kEscape);
        } else {
            item.append(run, kEscape);
        }
    }
    return item;
}

// Appends the items of text to list, which already has room for them from
// index next on. Nothing is stored for the empty piece after a final bar: that
// item keeps the empty text it was sized with.
void ParseInto(std::vector<std::string>& list, std::size_t next, std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && !IsSeparator(text, end)) {
            ++end;
        }
        list[next++] = Unescape(text.substr(start, end - start), end < text.size());
        start = end + 1;
    }
}
} // namespace

std::size_t CDelimStringArray::CountItems(std::string_view text)
{
    std::size_t count = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsSeparator(text, i)) {
            ++count;
        }
    }
    return count;
}

void CDelimStringArray::Parse(const char* text)
{
    Parse(text == nullptr ? std::string_view() : std::string_view(text));
}

void CDelimStringArray::Parse(std::string_view text)
{
    clear();
    if (text.empty()) {
        return;
    }
    resize(CountItems(text));
    ParseInto(*this, 0, text);
}

std::string CDelimStringArray::Join() const
{
    std::string text;
    for (std::size_t i = 0; i < size(); ++i) {
        if (i != 0) {
            text += kBar;
        }
        const std::string& item = (*this)[i];
        const bool separatorFollows = i + 1 < size();
        std::size_t run = 0;
        for (std::size_t c = 0; c < item.size(); ++c) {
            if (item[c] == kEscape) {
                ++run;
            } else {
                if (item[c] == kBar) {
                    text.append(run + 1, kEscape);
                }
                run = 0;
            }
            text += item[c];
        }
        if (separatorFollows) {
            text.append(run, kEscape);
        }
    }
    return text;
}

void CDelimStringArray::LoadFromProfile(const ISettingsStore& store, std::string_view section, std::string_view key)
{
    Parse(store.GetProfileString(section, key));
}

void CDelimStringArray::LoadFromResources(int firstString, int count)
{
    clear();
    std::vector<std::string> texts;
    std::size_t total = 0;
    for (int i = 0; i < count; ++i) {
        std::string text = LoadResString(firstString + i);
        if (text.empty()) {
            break;
        }
        if (text.size() > kResourceBufferSize - 1) {
            text.resize(kResourceBufferSize - 1);
        }
        total += CountItems(text);
        texts.push_back(std::move(text));
    }
    if (total == 0) {
        return;
    }
    resize(total);
    std::size_t next = 0;
    for (const std::string& text : texts) {
        ParseInto(*this, next, text);
        next += CountItems(text);
    }
}

void CDelimStringArray::LoadWithDefault(const ISettingsStore& store, std::string_view section, std::string_view key,
                                        int firstString, int count)
{
    LoadFromProfile(store, section, key);
    if (empty()) {
        LoadFromResources(firstString, count);
    }
}

// The whole joined text is written even when it outgrows kProfileBufferSize:
// cutting it would leave a broken last item, or half an escape, in the store.
void CDelimStringArray::SaveToProfile(ISettingsStore& store, std::string_view section, std::string_view key) const
{
    store.WriteProfileString(section, key, Join());
}

std::int32_t CDelimStringArray::Find(std::string_view text) const
{
    if (text.empty()) {
        return -1;
    }
    for (std::size_t i = size(); i-- > 0;) {
        if ((*this)[i] == text) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

bool CDelimStringArray::IsEqual(const CDelimStringArray& other) const
{
    return static_cast<const std::vector<std::string>&>(*this) == static_cast<const std::vector<std::string>&>(other);
}

void CDelimStringArray::CopyFrom(const CDelimStringArray& other)
{
    if (this != &other) {
        static_cast<std::vector<std::string>&>(*this) = other;
    }
}

// Like atoi: leading white space, an optional sign, then digits. Values
// beyond the 32-bit range are clamped to it.
std::int32_t CDelimStringArray::GetInt(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= size()) {
        return 0;
    }
    const std::string& item = (*this)[static_cast<std::size_t>(index)];
    std::size_t i = 0;
    while (i < item.size() && std::isspace(static_cast<unsigned char>(item[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < item.size() && (item[i] == '+' || item[i] == '-')) {
        negative = item[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    while (i < item.size() && item[i] >= '0' && item[i] <= '9') {
        magnitude = magnitude * 10 + (item[i] - '0');
        if (magnitude > kLimit) {
            magnitude = kLimit;
        }
        ++i;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

// An index outside the list changes nothing.
void CDelimStringArray::SetInt(std::int32_t index, std::int32_t value)
{
    if (index < 0 || static_cast<std::size_t>(index) >= size()) {
        return;
    }
    (*this)[static_cast<std::size_t>(index)] = std::to_string(value);
}
