#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// One QApplication for every GUI test, on the offscreen platform. QSettings
// and the standard locations point into a temporary folder, so no test ever
// reads or writes the user's real settings.
int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home;
    const QByteArray config = QFile::encodeName(home.path() + QStringLiteral("/config"));
    ::setenv("XDG_CONFIG_HOME", config.constData(), 1);
    // The standard locations of the test mode (the header caches among
    // them) lie below HOME.
    ::setenv("HOME", QFile::encodeName(home.path()).constData(), 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
