#include "desktop/app/DisplayCheck.h"
#include "desktop/app/QtPrompts.h"
#include "desktop/app/SingleInstance.h"
#include "desktop/app/VarnexApp.h"
#include "qtcore/QtSettingsStore.h"
#include "qtcore/SettingsFileCheck.h"

#include <QApplication>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Qt would abort with advice to reinstall; the true reason is plainer.
    const std::vector<std::string> commandLine(argv, argv + argc);
    if (const auto reason = NoDisplayReason(commandLine, [](const char* name) {
            const char* value = std::getenv(name);
            return std::string(value ? value : "");
        })) {
        std::fprintf(stderr, "varnex: %s\n", reason->c_str());
        return 1;
    }
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pellmore"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnex"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.08"));
    QGuiApplication::setDesktopFileName(QStringLiteral("varnex"));

    CQtPrompts prompts;
    // Refused before the store is made, which would wait on a pipe for ever.
    if (const QString irregular = FirstIrregularFile(UserSettingsFiles()); !irregular.isEmpty()) {
        prompts.MessageBox(
            nullptr,
            QStringLiteral("The settings file %1 is not a regular file, so Varnex cannot start.").arg(irregular),
            IPrompts::EIcon::Error);
        return 1;
    }
    CQtSettingsStore store;
    CVarnexApp app(store, prompts);
    // A start with other settings (another $XDG_CONFIG_HOME) runs on its own.
    app.SetInstanceName(CSingleInstance::DefaultName(store.Settings().fileName()));

    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    if (!app.InitInstance(arguments))
        return app.ExitCode();
    return app.ExitInstance(QApplication::exec());
}
