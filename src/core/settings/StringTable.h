#pragma once

#include <string>

// The program's texts by number. A command's string holds its status-bar
// prompt, a line break and its tool tip.
enum EStringId : int {
    IDS_OLE_INIT_FAILED = 100,
    IDS_DERIVED_NAMES = 116,
    IDS_FILES_SELECTED = 122,
    IDS_TOTAL_FILES = 123,
    IDR_MAINFRAME = 128,
    IDS_DEFAULT_DEFINITIONS = 129,
    IDS_NO_HELP = 136,
    ID_CUSTOMIZE = 500,
    ID_INDICATOR_SELECTED = 1100,
    ID_INDICATOR_TOTAL = 1101,
    IDS_PANE_WIDTHS = 1102,
    IDS_TOOLBAR_TITLE = 1103,
    IDS_UNREAD_FILES = 1104,
    IDS_UNREAD_FILE = 1105,
    IDS_TOTAL_GAMES = 1106,
    IDS_CHANGED_ON_DISK = 1130,
    IDS_COLLECTION_IN_USE = 1131,
    // Why a game cannot be shown, or is shown only in part.
    IDS_GAME_NO_TREE = 1140,
    IDS_GAME_BINARY = 1141,
    IDS_GAME_CUT_OFF = 1142,
    IDS_GAME_VALUE_CUT_OFF = 1143,
    IDS_GAME_TOO_MANY_STONES = 1144,
    IDS_GAME_TOO_LONG = 1145,
    IDS_GAME_CANNOT_OPEN = 1146,
    IDS_PREVIEW_TITLE = 1147,
    IDS_GAME_STOPPED = 1148,
    IDS_GAME_TOO_LARGE = 1149,
    IDS_GAME_BAD_SIZE = 1150,
    IDS_PLAYERS_TITLE = 1151,
    AFX_IDS_APP_TITLE = 57344,
    AFX_IDS_IDLEMESSAGE = 57345,
};

// Command numbers.
enum ECommandId : int {
    ID_VIEW_OPTIONS = 32775,
    ID_EDIT_DELETE_FILES = 32784,
    ID_EDIT_ADD_FILES = 32785,
    ID_VIEW_FULL_PATH = 32791,
    ID_VIEW_SET_FONT = 32792,
    ID_EDIT_LAUNCH_VIEWER = 32793,
    ID_EDIT_MARK_VIEWED = 32794,
    ID_EDIT_MARK_UNVIEWED = 32795,
    ID_FILE_EXPORT = 32798,
    ID_EDIT_REMOVE_MISSING = 32799,
    ID_EDIT_ADD_FOLDER = 32810,
    ID_EDIT_FIND = 32811,
    ID_EDIT_REFRESH = 32812,
    ID_VIEW_SORT_MEANING = 32813,
    ID_EDIT_REFRESH_ALL = 32814,
    ID_VIEW_BOARD_PICTURES = 32815,
    ID_VIEW_PREVIEW = 32830,
    ID_EDIT_FIND_DUPLICATES = 32840,
    ID_EDIT_SELECT_EXTRA_COPIES = 32841,
    ID_VIEW_POSITION_SEARCH = 32850,
    ID_VIEW_PLAYERS = 32860,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE2 = 57617,
    ID_FILE_MRU_FILE3 = 57618,
    ID_FILE_MRU_FILE4 = 57619,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_AUTOARRANGE = 59397,
    ID_VIEW_SMALLICON = 59408,
    ID_VIEW_LARGEICON = 59409,
    ID_VIEW_LIST = 59410,
    ID_VIEW_DETAILS = 59411,
    ID_VIEW_LINEUP = 59412,
};

// The text of string number id, or the empty text when there is none. The
// whole text is given, however long.
std::string LoadResString(int id);

// The prompt part (before the first line break) and tool-tip part (after it;
// empty when the text has no line break).
std::string PromptOf(const std::string& text);
std::string ToolTipOf(const std::string& text);
