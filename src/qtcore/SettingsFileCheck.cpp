#include "qtcore/SettingsFileCheck.h"

#include <QFileInfo>
#include <QStandardPaths>

QStringList UserSettingsFiles()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Where QSettings keeps the native format on these systems.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {folder + QStringLiteral("/Pellmore/Varnex.conf"), folder + QStringLiteral("/Pellmore.conf")};
#else
    return {};
#endif
}

QString FirstIrregularFile(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.exists() && !info.isFile())
            return path;
    }
    return {};
}
