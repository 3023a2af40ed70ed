#include "desktop/app/QtPrompts.h"
#include "qtcore/QtSettingsStore.h"
#include "qtcore/SettingsFileCheck.h"
#include "desktop/app/SingleInstance.h"
#include "desktop/app/VarnexApp.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pellmore"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnex"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.08"));
    QGuiApplication::setDesktopFileName(QStringLiteral("varnex"));

    CQtPrompts prompts;
    // Refused before the store is made, which would wait on a pipe for ever.
    if (const QString irregular = FirstIrregularFile(UserSettingsFiles()); !irregular.isEmpty()) {
        prompts.MessageBox(nullptr,
                           QStringLiteral("The settings file %1 is not a regular file, so Varnex cannot start.")
                               .arg(irregular),
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
