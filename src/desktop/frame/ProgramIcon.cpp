#include "desktop/frame/ProgramIcon.h"

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/varnex/varnex-%1.png").arg(size), QSize(size, size));
    return icon;
}
