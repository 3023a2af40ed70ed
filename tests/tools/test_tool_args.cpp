#include "ToolArgs.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::optional<int> Check(std::vector<std::string> args, std::initializer_list<std::string_view> known = {})
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return CheckToolArgs(static_cast<int>(args.size()), argv.data(), "usage: tool FOLDER\n", known);
}

} // namespace

TEST(ToolArgs, HelpPrintsTheUsageAndUnknownOptionsAreRefused)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(Check({"tool", "folder", "--help"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "usage: tool FOLDER\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Check({"tool", "--mixed", "folder"}), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "unknown option --mixed\nusage: tool FOLDER\n");
    EXPECT_EQ(Check({"tool", "folder", "10", "--mixed"}, {"--mixed"}), std::nullopt);
    EXPECT_EQ(Check({"tool", "-"}), std::nullopt);
}

TEST(ToolArgs, TheSampleWriterAnswersHelpWithoutWritingAFolderOfThatName)
{
    CTempDir dir;
    const std::string command = "cd '" + dir.path().string() + "' && '" VARNEX_SAMPLE_PATH "' --help > out 2> err";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(dir.path() / "out"), "usage: varnex-sample FOLDER\n");
    EXPECT_FALSE(fs::exists(dir.path() / "--help"));
    const std::string bogus = "cd '" + dir.path().string() + "' && '" VARNEX_SAMPLE_PATH "' --bogus > out 2> err";
    EXPECT_NE(std::system(bogus.c_str()), 0);
    EXPECT_FALSE(fs::exists(dir.path() / "--bogus"));
}
