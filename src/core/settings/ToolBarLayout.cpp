#include "settings/ToolBarLayout.h"

#include "util/LittleEndian.h"

#include "settings/StringTable.h"

#include <algorithm>
#include <cstdint>
#include <set>

namespace {
constexpr int kSeparator = 0;

// Toolbar 128: the main frame's bar. Pictures are numbered along the strip,
// one per button; separators have none.
const std::vector<SToolBarButton>& MainFrameButtons()
{
    static const std::vector<SToolBarButton> buttons = [] {
        const int commands[] = {
            ID_FILE_NEW,       ID_FILE_OPEN,         ID_FILE_SAVE,          ID_FILE_SAVE_AS,     kSeparator,
            ID_EDIT_ADD_FILES, ID_EDIT_DELETE_FILES, ID_EDIT_LAUNCH_VIEWER, ID_EDIT_MARK_VIEWED, ID_EDIT_MARK_UNVIEWED,
            kSeparator,        ID_VIEW_LARGEICON,    ID_VIEW_SMALLICON,     ID_VIEW_LIST,        ID_VIEW_DETAILS,
            kSeparator,        ID_VIEW_SET_FONT,     ID_VIEW_FULL_PATH,     ID_VIEW_LINEUP,      kSeparator,
            ID_APP_ABOUT,
        };
        std::vector<SToolBarButton> list;
        int image = 0;
        for (int command : commands) {
            if (command == kSeparator)
                list.push_back({-1, kSeparator});
            else
                list.push_back({image++, command});
        }
        // Buttons added since the stored default layout was fixed: a user
        // puts them on the bar through the customisation dialog.
        list.push_back({image++, ID_EDIT_ADD_FOLDER, true});
        list.push_back({image++, ID_VIEW_POSITION_SEARCH, true});
        return list;
    }();
    return buttons;
}

} // namespace

const std::vector<SToolBarButton>& ToolBarResource(int resource)
{
    static const std::vector<SToolBarButton> none;
    return resource == IDR_MAINFRAME ? MainFrameButtons() : none;
}

CToolBarLayout CToolBarLayout::FromResource(const std::vector<SToolBarButton>& buttons)
{
    std::vector<int> commands;
    commands.reserve(buttons.size());
    for (const SToolBarButton& button : buttons) {
        if (!button.extra)
            commands.push_back(button.command);
    }
    return CToolBarLayout(std::move(commands));
}

std::string CToolBarLayout::Encode() const
{
    std::string out;
    out.reserve(4 + 4 * m_commands.size());
    AppendLE32(out, static_cast<std::uint32_t>(m_commands.size()));
    for (int command : m_commands)
        AppendLE32(out, static_cast<std::uint32_t>(command));
    return out;
}

std::optional<CToolBarLayout> CToolBarLayout::Decode(std::string_view bytes)
{
    if (bytes.size() < 4 || (bytes.size() - 4) % 4 != 0)
        return std::nullopt;
    const std::uint32_t count = ReadLE32(bytes, 0);
    // The count must describe exactly the bytes that follow it.
    if (count > kMaxEntries || count != (bytes.size() - 4) / 4)
        return std::nullopt;
    std::vector<int> commands;
    commands.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        commands.push_back(static_cast<int>(static_cast<std::int32_t>(ReadLE32(bytes, 4 + 4 * std::size_t{i}))));
    return CToolBarLayout(std::move(commands));
}

bool CToolBarLayout::FitsButtons(const std::vector<SToolBarButton>& buttons) const
{
    std::set<int> offered;
    for (const SToolBarButton& button : buttons)
        offered.insert(button.command);
    std::set<int> seen;
    for (int command : m_commands) {
        if (offered.count(command) == 0)
            return false;
        if (command != kSeparator && !seen.insert(command).second)
            return false;
    }
    return true;
}
