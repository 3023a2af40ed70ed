#include "qtcore/CacheFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

std::string HeaderCacheFolder()
{
    // The cache location is made of these names; the command-line tool has
    // no application object that would set them.
    if (QCoreApplication::organizationName() != QStringLiteral("Pellmore"))
        QCoreApplication::setOrganizationName(QStringLiteral("Pellmore"));
    if (QCoreApplication::applicationName() != QStringLiteral("Varnex"))
        QCoreApplication::setApplicationName(QStringLiteral("Varnex"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return folder.isEmpty() ? std::string() : QFile::encodeName(folder).toStdString();
}
