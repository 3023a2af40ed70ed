#include "app/DelimStringArray.h"
#include "app/StringTable.h"

#include <gtest/gtest.h>

TEST(StringTable, ProgramTextsAreFoundByNumber)
{
    EXPECT_EQ(LoadResString(IDS_OLE_INIT_FAILED),
              "OLE initialization failed.  Make sure that the OLE libraries are the correct version.");
    EXPECT_EQ(LoadResString(IDS_FILES_SELECTED), "%d File(s) Selected");
    EXPECT_EQ(LoadResString(IDS_TOTAL_FILES), "Total %d File(s)");
    EXPECT_EQ(LoadResString(IDS_NO_HELP), "Helps are not available.");
    EXPECT_EQ(LoadResString(ID_INDICATOR_SELECTED), " ");
    EXPECT_EQ(LoadResString(ID_INDICATOR_TOTAL), " ");
    EXPECT_EQ(LoadResString(IDS_PANE_WIDTHS), "20,20");
    EXPECT_EQ(LoadResString(IDS_TOOLBAR_TITLE), "Varnex Toolbar");
    EXPECT_EQ(LoadResString(AFX_IDS_APP_TITLE), "Varnex");
    EXPECT_EQ(LoadResString(AFX_IDS_IDLEMESSAGE), "Ready");
}

TEST(StringTable, UnknownNumbersGiveTheEmptyText)
{
    EXPECT_EQ(LoadResString(0), "");
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

TEST(StringTable, DefaultDefinitionsGiveEightColumns)
{
    CDelimStringArray definitions;
    definitions.Parse(LoadResString(IDS_DEFAULT_DEFINITIONS));
    ASSERT_EQ(definitions.size(), 8u);
    EXPECT_EQ(definitions[0], "Game Name:GN");
    EXPECT_EQ(definitions[7], "Opponent:$Opponent");
}

TEST(StringTable, CommandStringsSplitIntoPromptAndToolTip)
{
    const std::string add = LoadResString(ID_EDIT_ADD_FILES);
    EXPECT_EQ(PromptOf(add), "Add MGT files into the database");
    EXPECT_EQ(ToolTipOf(add), "Add");
    EXPECT_EQ(PromptOf(LoadResString(ID_FILE_EXPORT)), "Save the contents of the list as a formatted text file.");
    EXPECT_EQ(ToolTipOf(LoadResString(ID_FILE_EXPORT)), "Export");
    EXPECT_EQ(PromptOf(LoadResString(ID_CUSTOMIZE)), "Customize the toolbar buttons.");
    EXPECT_EQ(ToolTipOf(LoadResString(ID_CUSTOMIZE)), "Customize");
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

TEST(StringTable, MenuCommandsHaveTheirPrompts)
{
    const std::pair<int, const char*> expected[] = {
        {ID_EDIT_DELETE_FILES, "Remove MGT files from the database"},
        {ID_EDIT_MARK_VIEWED, "Mark the selected game files as viewed"},
        {ID_EDIT_MARK_UNVIEWED, "Mark the selected game files as unviewed"},
        {ID_EDIT_LAUNCH_VIEWER, "Start the specified MGT viewer program to view and edit the selected MGT files"},
        {ID_VIEW_LARGEICON, "Display items by using large icons"},
        {ID_VIEW_SMALLICON, "Display items by using small icons"},
        {ID_VIEW_LIST, "Display items in a list"},
        {ID_VIEW_DETAILS, "Display items in details"},
        {ID_VIEW_LINEUP, "Arrange icons in a grid"},
        {ID_VIEW_AUTOARRANGE, "Automatically arrange icons"},
        {ID_VIEW_OPTIONS, "Change program options"},
        {ID_VIEW_FULL_PATH, "Display the full path of the file name"},
        {ID_VIEW_SET_FONT, "Specify the font and text color in the report view"},
    };
    for (const auto& [id, prompt] : expected) {
        EXPECT_EQ(PromptOf(LoadResString(id)), prompt) << "command " << id;
    }
    EXPECT_EQ(ToolTipOf(LoadResString(ID_VIEW_AUTOARRANGE)), "Auto Arrange");
    EXPECT_EQ(ToolTipOf(LoadResString(ID_VIEW_OPTIONS)), "Options");
}
