#include "report/ShellWords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Words = std::vector<std::string>;

TEST(ShellWords, BlanksSeparateAndQuotesGroupAsInAShell)
{
    EXPECT_EQ(SplitShellWords("  view\t--board \n x  "), (Words{"view", "--board", "x"}));
    EXPECT_EQ(SplitShellWords("rec.sh --opt 'single quoted'"), (Words{"rec.sh", "--opt", "single quoted"}));
    EXPECT_EQ(SplitShellWords("\"/opt/go viewer/view\" -f"), (Words{"/opt/go viewer/view", "-f"}));
    // Parts of one word join, quoted or not.
    EXPECT_EQ(SplitShellWords("a'b c'\"d e\"f"), (Words{"ab cd ef"}));
    EXPECT_EQ(SplitShellWords("'' \"\" x"), (Words{"", "", "x"}));
    EXPECT_EQ(SplitShellWords(""), Words{});
    EXPECT_EQ(SplitShellWords(" \t"), Words{});
}

TEST(ShellWords, BackslashesEscapeOutsideQuotesAndOnlyFiveBytesInsideDoubleQuotes)
{
    EXPECT_EQ(SplitShellWords("my\\ viewer \\'x\\\" \\\\"), (Words{"my viewer", "'x\"", "\\"}));
    EXPECT_EQ(SplitShellWords("'a\\b' 'it'\\''s'"), (Words{"a\\b", "it's"}));
    EXPECT_EQ(SplitShellWords("\"\\$HOME \\` \\\" \\\\ \\a\""), (Words{"$HOME ` \" \\ \\a"}));
    // A backslash before a line break joins the lines; one at the very end is itself.
    EXPECT_EQ(SplitShellWords("ab\\\ncd \"e\\\nf\" g\\"), (Words{"abcd", "ef", "g\\"}));
}

TEST(ShellWords, NothingIsExpandedAndBytesPassUnchanged)
{
    EXPECT_EQ(SplitShellWords("$HOME ~ * `id` $(x)"), (Words{"$HOME", "~", "*", "`id`", "$(x)"}));
    EXPECT_EQ(SplitShellWords("caf\xe9 '\xff\xfe'"), (Words{"caf\xe9", "\xff\xfe"}));
    // An open quote runs to the end.
    EXPECT_EQ(SplitShellWords("view 'open quote"), (Words{"view", "open quote"}));
    EXPECT_EQ(SplitShellWords("view \"open"), (Words{"view", "open"}));
}
