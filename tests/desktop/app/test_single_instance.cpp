#include "desktop/app/SingleInstance.h"

#include <gtest/gtest.h>

TEST(SingleInstanceName, IsPerUserAndPerDisplay)
{
    EXPECT_EQ(CSingleInstance::NameFor(1000, QStringLiteral(":0")), QStringLiteral("Pellmore-Varnex-1000-:0"));
    EXPECT_NE(CSingleInstance::NameFor(1000, QStringLiteral(":0")),
              CSingleInstance::NameFor(1000, QStringLiteral(":1")));
    EXPECT_NE(CSingleInstance::NameFor(1000, QStringLiteral(":0")),
              CSingleInstance::NameFor(1001, QStringLiteral(":0")));
    // A Wayland display given as a path stays one socket file name.
    EXPECT_EQ(CSingleInstance::NameFor(7, QStringLiteral("/run/user/7/wayland-0")),
              QStringLiteral("Pellmore-Varnex-7-_run_user_7_wayland-0"));
    EXPECT_EQ(CSingleInstance::NameFor(7, QString()), QStringLiteral("Pellmore-Varnex-7"));
}
