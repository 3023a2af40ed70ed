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

