#include "settings/StringTable.h"

#include <gtest/gtest.h>

TEST(StringTable, UnknownNumbersGiveTheEmptyText)
{
    EXPECT_EQ(LoadResString(-1), "");
    EXPECT_EQ(LoadResString(117), "");
    EXPECT_EQ(LoadResString(99999), "");
}

TEST(StringTable, DocumentDescriptorHasSevenFields)
{
    const std::string descriptor = LoadResString(IDR_MAINFRAME);
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto end = descriptor.find('\n', start);
        fields.push_back(descriptor.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"Varnex", "", "Varnex", "Varnex Files (*.vnx)", ".VNX", "VNX.Document",
                                                "Varnex Document"}));
}

TEST(StringTable, CommandStringsSplitIntoPromptAndToolTip)
{
    const std::string add = LoadResString(ID_EDIT_ADD_FILES);
    EXPECT_EQ(PromptOf(add), "Add MGT files into the database");
    EXPECT_EQ(ToolTipOf(add), "Add");
    EXPECT_EQ(PromptOf(LoadResString(ID_CUSTOMIZE)), "Customize the toolbar buttons.");
    EXPECT_EQ(PromptOf("no break"), "no break");
    EXPECT_EQ(ToolTipOf("no break"), "");
    EXPECT_EQ(ToolTipOf("a\nb\nc"), "b\nc");
}

TEST(StringTable, EveryToolbarButtonHasItsToolTip)
{
    const std::pair<int, const char*> expected[] = {
        {ID_FILE_NEW, ""},
        {ID_FILE_OPEN, ""},
        {ID_FILE_SAVE, ""},
        {ID_FILE_SAVE_AS, ""},
        {ID_EDIT_ADD_FILES, "Add"},
        {ID_EDIT_DELETE_FILES, "Delete"},
        {ID_EDIT_LAUNCH_VIEWER, "Launch"},
        {ID_EDIT_MARK_VIEWED, "Mark Viewed"},
        {ID_EDIT_MARK_UNVIEWED, "Mark Unviewed"},
        {ID_VIEW_LARGEICON, "Large Icons"},
        {ID_VIEW_SMALLICON, "Small Icons"},
        {ID_VIEW_LIST, "List"},
        {ID_VIEW_DETAILS, "Details"},
        {ID_VIEW_SET_FONT, "Set Font"},
        {ID_VIEW_FULL_PATH, "Full Path"},
        {ID_VIEW_LINEUP, "Line Up"},
        {ID_APP_ABOUT, ""},
    };
    for (const auto& [id, tip] : expected) {
        EXPECT_EQ(ToolTipOf(LoadResString(id)), tip) << "command " << id;
    }
}

// Every command of the menus and the toolbar's context menu, with the prompt
// the status bar shows while it is highlighted.
TEST(StringTable, EveryCommandShowsItsOwnPromptAndTheFrameworkCommandsNone)
{
    const std::pair<int, const char*> expected[] = {
        {ID_FILE_NEW, ""},
        {ID_FILE_OPEN, ""},
        {ID_FILE_SAVE, ""},
        {ID_FILE_SAVE_AS, ""},
        {ID_FILE_EXPORT, "Save the contents of the list as a formatted text file."},
        {ID_FILE_MRU_FILE1, ""},
        {ID_FILE_MRU_FILE2, ""},
        {ID_FILE_MRU_FILE3, ""},
        {ID_FILE_MRU_FILE4, ""},
        {ID_APP_EXIT, ""},
        {ID_EDIT_ADD_FILES, "Add MGT files into the database"},
        {ID_EDIT_DELETE_FILES, "Remove MGT files from the database"},
        {ID_EDIT_MARK_VIEWED, "Mark the selected game files as viewed"},
        {ID_EDIT_MARK_UNVIEWED, "Mark the selected game files as unviewed"},
        {ID_EDIT_LAUNCH_VIEWER, "Start the specified MGT viewer program to view and edit the selected MGT files"},
        {ID_VIEW_TOOLBAR, ""},
        {ID_VIEW_STATUS_BAR, ""},
        {ID_VIEW_LARGEICON, "Display items by using large icons"},
        {ID_VIEW_SMALLICON, "Display items by using small icons"},
        {ID_VIEW_LIST, "Display items in a list"},
        {ID_VIEW_DETAILS, "Display items in details"},
        {ID_VIEW_LINEUP, "Arrange icons in a grid"},
        {ID_VIEW_AUTOARRANGE, "Automatically arrange icons"},
        {ID_VIEW_OPTIONS, "Change program options"},
        {ID_VIEW_FULL_PATH, "Display the full path of the file name"},
        {ID_VIEW_SET_FONT, "Specify the font and text color in the report view"},
        {ID_APP_ABOUT, ""},
        {ID_CUSTOMIZE, "Customize the toolbar buttons."},
    };
    for (const auto& [id, prompt] : expected) {
        EXPECT_EQ(PromptOf(LoadResString(id)), prompt) << "command " << id;
    }
    EXPECT_EQ(ToolTipOf(LoadResString(ID_VIEW_AUTOARRANGE)), "Auto Arrange");
    EXPECT_EQ(ToolTipOf(LoadResString(ID_VIEW_OPTIONS)), "Options");
    EXPECT_EQ(ToolTipOf(LoadResString(ID_FILE_EXPORT)), "Export");
}
