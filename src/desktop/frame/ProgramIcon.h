#pragma once

#include <QIcon>

// The program's icon, compiled in.
QIcon ProgramIcon();
