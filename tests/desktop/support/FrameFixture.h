#pragma once

#include "ScriptedPrompts.h"
#include "TestSupport.h"

#include "desktop/app/CommandRouter.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/VarnexApp.h"
#include "desktop/frame/MainFrame.h"
#include "qtcore/QtSettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// The whole program on the offscreen platform: settings in a temporary INI
// file, every dialog scripted. Restart() ends the program the way it ends
// (close, ExitInstance) and starts it again on the same settings.
class FrameTest : public ::testing::Test
{
protected:
    FrameTest() : m_cwd(std::filesystem::current_path()) {}
    ~FrameTest() override
    {
        app.reset();
        store.reset();
        std::filesystem::current_path(m_cwd);
    }

    void TearDown() override { prompts.ExpectAllUsed(); }

    QString SettingsPath() const { return QString::fromStdString((dir.path() / "settings.ini").string()); }

    bool Start(const QStringList& arguments = {})
    {
        if (!store)
            store = std::make_unique<CQtSettingsStore>(SettingsPath());
        app = std::make_unique<CVarnexApp>(*store, prompts);
        if (!instanceName.isEmpty())
            app->SetInstanceName(instanceName);
        return app->InitInstance(arguments);
    }

    void Stop()
    {
        if (app && app->Frame())
            app->Frame()->close();
        if (app)
            app->ExitInstance(0);
        app.reset();
    }

    bool Restart(const QStringList& arguments = {})
    {
        Stop();
        store.reset();
        return Start(arguments);
    }

    QAction* Act(int id) const { return app->Router().FindAction(id); }

    // Chooses command id as the user would: the update step runs as before a
    // menu opens, and only an existing, enabled action is triggered.
    void Trigger(int id)
    {
        app->Router().UpdateAll();
        QAction* action = Act(id);
        ASSERT_NE(action, nullptr) << "command " << id;
        ASSERT_TRUE(action->isEnabled()) << "command " << id;
        action->trigger();
    }

    // Presses Esc from inside a read, as a user stops a batch. Esc clicks the
    // Cancel button, whose click lands once its press has shown; the read
    // waits for it here, as the pump would. True when the stop was asked.
    bool PressEscUntilStopAsked()
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : app->Frame(), Qt::Key_Escape);
        QElapsedTimer waited;
        waited.start();
        while (!app->Host().StopRequested() && waited.elapsed() < 5000)
            QTest::qWait(10);
        return app->Host().StopRequested();
    }

    // Lets the real event loop block once, so the idle step runs as it does
    // in the program.
    static void RunIdle()
    {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // A small game record written into the test's folder; its players are
    // the name, so every file reads differently.
    std::string Game(const char* name) const
    {
        return dir.Write(std::string("games/") + name + ".sgf",
                         std::string("(;GM[1]FF[4]SZ[19]PB[") + name + "]PW[White]RE[B+R];B[pd])");
    }

    CTempDir dir;
    CScriptedPrompts prompts;
    // The single-instance socket Start() listens on; none when empty.
    QString instanceName;
    std::unique_ptr<CQtSettingsStore> store;
    std::unique_ptr<CVarnexApp> app;

private:
    std::filesystem::path m_cwd;
};

inline QStringList L(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}
