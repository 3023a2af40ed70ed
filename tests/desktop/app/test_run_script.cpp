#include "FrameFixture.h"

#include "desktop/frame/MainFrame.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/Settings.h"

#include <QProcess>

#include <fstream>

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
    WriteProgram(build / "src" / "desktop" / "varnex", "exit 0\n");
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VARNEX_RUN_OWN_SETTINGS"));
    script.setProcessEnvironment(environment);
    script.start(QStringLiteral("bash"),
                 {QStringLiteral(VARNEX_SOURCE_DIR "/tools/run.sh"), QString::fromStdString(build.string())});
    ASSERT_TRUE(script.waitForFinished(30000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();

    const std::filesystem::path settings = build / "sample" / "config" / "Pellmore" / "Varnex.conf";
    ASSERT_TRUE(std::filesystem::exists(settings));
    store = std::make_unique<CQtSettingsStore>(QString::fromStdString(settings.string()));
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->Frame()->View()->ListCtrl()->GetViewStyle(), CReportListCtrl::kStyleDetails);
    EXPECT_EQ(ReadString(*store, settings::kMyNames), "Tom Walker");
}
