#include "settings/StringTable.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {
using Entry = std::pair<int, std::string_view>;

// Sorted by number. The framework's own commands (New, Open, Save, Save As,
// the recent files, About, Exit and the two bar toggles) have no string, so
// they show no prompt and no tool tip.
constexpr std::array kStrings{
    Entry{IDS_OLE_INIT_FAILED, "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
    Entry{IDS_DERIVED_NAMES, "Opponent|OpponentRank|Winner|WinnerRank|Loser|LoserRank"},
    Entry{IDS_FILES_SELECTED, "%d File(s) Selected"},
    Entry{IDS_TOTAL_FILES, "Total %d File(s)"},
    Entry{IDR_MAINFRAME, "Varnex\n\nVarnex\nVarnex Files (*.vnx)\n.VNX\nVNX.Document\nVarnex Document"},
    Entry{IDS_DEFAULT_DEFINITIONS,
          "Game Name:GN|Date:DT|Black:PB|Black Rank:BR|White:PW|White Rank:WR|Winner:$Winner|Opponent:$Opponent"},
    Entry{IDS_NO_HELP, "Helps are not available."},
    Entry{ID_CUSTOMIZE, "Customize the toolbar buttons.\nCustomize"},
    Entry{ID_INDICATOR_SELECTED, " "},
    Entry{ID_INDICATOR_TOTAL, " "},
    Entry{IDS_PANE_WIDTHS, "20,20"},
    Entry{IDS_TOOLBAR_TITLE, "Varnex Toolbar"},
    Entry{IDS_UNREAD_FILES, "%d game files could not be read"},
    Entry{IDS_UNREAD_FILE, "%d game file could not be read"},
    Entry{IDS_TOTAL_GAMES, "Total %d Game(s) in %d File(s)"},
    Entry{IDS_CHANGED_ON_DISK, "%s has been changed by another program since it was opened or saved here.\n"
                               "Overwrite it with this collection? (No saves nothing; Save As can keep both.)"},
    Entry{IDS_COLLECTION_IN_USE, "%s is being changed by another program just now. Nothing was saved; "
                                 "save again when it has finished."},
    Entry{IDS_GAME_NO_TREE, "not a game record"},
    Entry{IDS_GAME_BINARY, "a record in the binary form: its moves cannot be shown"},
    Entry{IDS_GAME_CUT_OFF, "cut off inside the game: read up to there"},
    Entry{IDS_GAME_VALUE_CUT_OFF, "cut off inside a value: read up to there"},
    Entry{IDS_GAME_TOO_MANY_STONES, "more setup stones than any real record holds: read up to there"},
    Entry{IDS_GAME_TOO_LONG, "more to play than any real game: played up to there"},
    Entry{IDS_GAME_CANNOT_OPEN, "cannot be opened"},
    Entry{IDS_PREVIEW_TITLE, "Preview"},
    Entry{IDS_GAME_STOPPED, "reading stopped: read up to there"},
    Entry{IDS_GAME_TOO_LARGE, "larger than 64 MiB, which no real game record comes near: not read"},
    Entry{IDS_GAME_BAD_SIZE, "a board size that cannot be played (1 to 52 points a side): shown on 19 by 19"},
    Entry{IDS_PLAYERS_TITLE, "Players"},
    Entry{ID_VIEW_OPTIONS, "Change program options\nOptions"},
    Entry{ID_EDIT_DELETE_FILES, "Remove MGT files from the database\nDelete"},
    Entry{ID_EDIT_ADD_FILES, "Add MGT files into the database\nAdd"},
    Entry{ID_VIEW_FULL_PATH, "Display the full path of the file name\nFull Path"},
    Entry{ID_VIEW_SET_FONT, "Specify the font and text color in the report view\nSet Font"},
    Entry{ID_EDIT_LAUNCH_VIEWER,
          "Start the specified MGT viewer program to view and edit the selected MGT files\nLaunch"},
    Entry{ID_EDIT_MARK_VIEWED, "Mark the selected game files as viewed\nMark Viewed"},
    Entry{ID_EDIT_MARK_UNVIEWED, "Mark the selected game files as unviewed\nMark Unviewed"},
    Entry{ID_FILE_EXPORT, "Save the contents of the list as a formatted text file.\nExport"},
    Entry{ID_EDIT_REMOVE_MISSING, "Remove the game files that could not be read from the collection\nRemove Missing"},
    Entry{ID_EDIT_ADD_FOLDER, "Add every game file in a folder and its subfolders to the collection\nAdd Folder"},
    Entry{ID_EDIT_FIND, "Show only the games that match every word and field term typed\nFind"},
    Entry{ID_EDIT_REFRESH, "Read again the game files that changed since they were read\nRefresh"},
    Entry{ID_VIEW_SORT_MEANING, "Sort ranks by strength and dates by their first date\nSort by Meaning"},
    Entry{ID_EDIT_REFRESH_ALL, "Read every game file again, whatever the header cache holds\nRefresh All"},
    Entry{ID_VIEW_BOARD_PICTURES,
          "Show each game's board at the preview's opening position in the large icons\nBoard Pictures"},
    Entry{ID_VIEW_PREVIEW, "Show or hide the board of the current game beside the list\nPreview"},
    Entry{ID_EDIT_FIND_DUPLICATES,
          "Show only the games held in more than one file, each game's files together\nFind Duplicates"},
    Entry{ID_EDIT_SELECT_EXTRA_COPIES,
          "Select every file of each duplicate game but the copy to keep\nSelect Extra Copies"},
    Entry{ID_VIEW_POSITION_SEARCH,
          "Draw a shape on the board and show the games where it occurs, and what was played next\nPosition Search"},
    Entry{ID_VIEW_PLAYERS, "Show or hide every player of the collection with their wins and losses\nPlayers"},
    Entry{AFX_IDS_APP_TITLE, "Varnex"},
    Entry{AFX_IDS_IDLEMESSAGE, "Ready"},
    Entry{ID_VIEW_AUTOARRANGE, "Automatically arrange icons\nAuto Arrange"},
    Entry{ID_VIEW_SMALLICON, "Display items by using small icons\nSmall Icons"},
    Entry{ID_VIEW_LARGEICON, "Display items by using large icons\nLarge Icons"},
    Entry{ID_VIEW_LIST, "Display items in a list\nList"},
    Entry{ID_VIEW_DETAILS, "Display items in details\nDetails"},
    Entry{ID_VIEW_LINEUP, "Arrange icons in a grid\nLine Up"},
};

static_assert(std::is_sorted(kStrings.begin(), kStrings.end(),
                             [](const Entry& a, const Entry& b) { return a.first < b.first; }),
              "the string table is searched by halving");
} // namespace

std::string LoadResString(int id)
{
    const auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                     [](const Entry& entry, int wanted) { return entry.first < wanted; });
    if (it == kStrings.end() || it->first != id) {
        return {};
    }
    return std::string(it->second);
}

std::string PromptOf(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

std::string ToolTipOf(const std::string& text)
{
    const auto lineBreak = text.find('\n');
    return lineBreak == std::string::npos ? std::string() : text.substr(lineBreak + 1);
}
