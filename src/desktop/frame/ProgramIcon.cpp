#include "desktop/frame/ProgramIcon.h"

// The pictures sit in this static library and nothing refers to them by
// symbol, so the linker would drop them unless they are registered here.
static void InitProgramIconResource()
{
    Q_INIT_RESOURCE(varnex);
}

QIcon ProgramIcon()
{
    static const bool registered = (InitProgramIconResource(), true);
    (void)registered;
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/varnex/varnex-%1.png").arg(size), QSize(size, size));
    return icon;
}
