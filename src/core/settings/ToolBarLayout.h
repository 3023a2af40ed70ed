#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One button of a toolbar resource: the picture it shows (its position in
// the resource's picture strip, -1 for a separator) and its command number
// (0 for a separator).
struct SToolBarButton
{
    int image = -1;
    int command = 0;
    // Offered in the customisation dialog but not on the bar by default.
    bool extra = false;

    bool IsSeparator() const { return command == 0; }
};

// The buttons of toolbar resource number resource, in order; empty when the
// program has no such resource.
const std::vector<SToolBarButton>& ToolBarResource(int resource);

// The buttons a toolbar shows, in order: one command number each, 0 for a
// separator. Stored as a 32-bit little-endian count followed by that many
// 32-bit little-endian command numbers.
class CToolBarLayout
{
public:
    // More entries than any real bar holds; a stored count above this is junk.
    static constexpr std::size_t kMaxEntries = 1024;

    CToolBarLayout() = default;
    explicit CToolBarLayout(std::vector<int> commands) : m_commands(std::move(commands)) {}

    // The layout of a resource exactly as it lists its buttons.
    static CToolBarLayout FromResource(const std::vector<SToolBarButton>& buttons);

    const std::vector<int>& Commands() const { return m_commands; }
    bool IsEmpty() const { return m_commands.empty(); }

    std::string Encode() const;
    // Nothing when bytes are not exactly one encoded layout.
    static std::optional<CToolBarLayout> Decode(std::string_view bytes);

    // Whether the bar can show this layout from the buttons offered: every
    // command is one of them and no command appears twice (separators may).
    bool FitsButtons(const std::vector<SToolBarButton>& buttons) const;

    bool operator==(const CToolBarLayout&) const = default;

private:
    std::vector<int> m_commands;
};
