#include "FrameFixture.h"

#include "desktop/app/DisplayCheck.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/Settings.h"

#include <QProcess>

#include <fstream>
#include <map>

namespace {
void WriteProgram(const std::filesystem::path& path, const std::string& script)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\n" << script;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}
} // namespace

// make run's script with stand-ins for the two programs it starts; the
// settings it writes are then read by the real window.
TEST_F(FrameTest, MakeRunsOwnSettingsStartInTheDetailsStyle)
{
    const std::filesystem::path build = dir.path() / "build";
    WriteProgram(build / "tools" / "varnex-sample", "mkdir -p \"$1\"\n");
    // The stand-in notes where the program would put its header cache.
    WriteProgram(build / "src" / "desktop" / "varnex", "printf %s \"$XDG_CACHE_HOME\" > \"$0.cache\"\n");
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VARNEX_RUN_OWN_SETTINGS"));
    script.setProcessEnvironment(environment);
    script.start(QStringLiteral("bash"),
                 {QStringLiteral(VARNEX_SOURCE_DIR "/tools/run.sh"), QString::fromStdString(build.string())});
    ASSERT_TRUE(script.waitForFinished(30000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    // The sample's cache stays beside the sample, as its settings do.
    EXPECT_EQ(ReadFileBytes(build / "src" / "desktop" / "varnex.cache"),
              std::filesystem::canonical(build / "sample").string() + "/cache");

    const std::filesystem::path settings = build / "sample" / "config" / "Pellmore" / "Varnex.conf";
    ASSERT_TRUE(std::filesystem::exists(settings));
    store = std::make_unique<CQtSettingsStore>(QString::fromStdString(settings.string()));
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->Frame()->View()->ListCtrl()->GetViewStyle(), CReportListCtrl::kStyleDetails);
    EXPECT_EQ(ReadString(*store, settings::kMyNames), "Tom Walker");
}

TEST(ProgramStart, WithoutADisplayTheProgramSaysSoAndExits1)
{
    CTempDir dir;
    const QString home = QString::fromStdString(dir.path().string());
    const std::vector<std::pair<QStringList, QString>> starts = {
        {{}, {}}, {{}, QStringLiteral("xcb")}, {{QStringLiteral("-platform"), QStringLiteral("wayland")}, {}}};
    for (const auto& [arguments, platform] : starts) {
        SCOPED_TRACE((arguments.join(QLatin1Char(' ')) + QLatin1Char(' ') + platform).toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QString::fromLatin1(name), home);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VARNEX_DESKTOP_PATH), arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 1);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(said.startsWith(QStringLiteral("varnex: no display found"))) << said.toStdString();
        EXPECT_FALSE(said.contains(QStringLiteral("Reinstalling"))) << said.toStdString();
    }
}

TEST(ProgramStart, ANamedDisplayOrAnotherPlatformPasses)
{
    const auto reason = [](std::vector<std::string> arguments, std::map<std::string, std::string> environment) {
        arguments.insert(arguments.begin(), "varnex");
        return NoDisplayReason(arguments, [&environment](const char* name) { return environment[name]; });
    };
    EXPECT_TRUE(reason({}, {}));
    EXPECT_TRUE(reason({}, {{"QT_QPA_PLATFORM", "xcb:nograb"}}));
    EXPECT_TRUE(reason({}, {{"QT_QPA_PLATFORM", "wayland-egl;xcb"}}));
    EXPECT_FALSE(reason({}, {{"DISPLAY", ":0"}}));
    EXPECT_FALSE(reason({}, {{"WAYLAND_DISPLAY", "wayland-0"}}));
    EXPECT_FALSE(reason({}, {{"QT_QPA_PLATFORM", "offscreen"}}));
    EXPECT_FALSE(reason({}, {{"QT_QPA_PLATFORM", "wayland;offscreen"}}));
    EXPECT_FALSE(reason({"-platform", "offscreen"}, {}));
    // The argument wins over the variable, as in Qt.
    EXPECT_TRUE(reason({"-platform", "xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}}));
    EXPECT_FALSE(reason({"collection.vnx"}, {{"QT_QPA_PLATFORM", "minimal"}}));
}
