#pragma once

#include "ScriptedPrompts.h"
#include "TestSupport.h"

#include "app/CommandRouter.h"
#include "app/DesktopDocHost.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "app/VarnexApp.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QEventLoop>
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

    QString SettingsPath() const { return QString::fromStdString((dir.path() / "settings.ini").string()); }

    bool Start(const QStringList& arguments = {})
    {
        if (!store)
            store = std::make_unique<CQtSettingsStore>(SettingsPath());
        app = std::make_unique<CVarnexApp>(*store, prompts);
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

    // Lets the real event loop block once, so the idle step runs as it does
    // in the program.
    static void RunIdle()
    {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }

    static std::string Corpus(const char* relative) { return (CorpusDir() / relative).string(); }

    CTempDir dir;
    CScriptedPrompts prompts;
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
