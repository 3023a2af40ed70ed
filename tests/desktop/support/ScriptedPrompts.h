#pragma once

#include "desktop/app/Prompts.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

// Prompts that never block: every question is recorded in asked, and
// answered from the queues the test filled. A question with no answer queued
// fails the test (and is answered neutrally: cancel, no file, dialog
// rejected); ExpectAllUsed() fails it when answers are left over. Message
// boxes ask nothing and are only recorded; program starts answer
// startSucceeds.
class CScriptedPrompts : public IPrompts
{
public:
    QStringList GetOpenFileNames(QWidget* parent, const QString& title, const QString& filter) override;
    QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString GetExistingDirectory(QWidget* parent, const QString& title) override;
    QString GetSaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix,
                            const QString& initialPath) override;
    void MessageBox(QWidget* parent, const QString& text, EIcon icon) override;
    EAnswer AskSaveChanges(QWidget* parent, const QString& title) override;
    EAnswer AskYesNo(QWidget* parent, const QString& text) override;
    std::optional<std::pair<QFont, QColor>> ChooseFont(QWidget* parent, const QFont& font,
                                                       const QColor& color) override;
    QString GetProgramFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& initialName) override;
    int ExecDialog(QDialog& dialog) override;
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;

    // Fails the running test for every queue that still holds answers.
    void ExpectAllUsed() const;

    std::deque<QStringList> openFileNames;
    std::deque<QString> openFileName;
    std::deque<QString> saveFileName;
    std::deque<QString> programFileName;
    std::deque<QString> folders;
    std::deque<EAnswer> saveChanges;
    std::deque<EAnswer> yesNo;
    std::deque<std::optional<std::pair<QFont, QColor>>> fonts;
    // Called with the dialog instead of exec(); returns the result code.
    std::deque<std::function<int(QDialog&)>> dialogs;
    // Answers to program starts, taken in turn; once empty, startSucceeds.
    std::deque<bool> startResults;
    bool startSucceeds = true;

    // Everything that was asked, one line each ("open-files: <title>",
    // "message: <text>", "start: <program> <args>", ...).
    QStringList asked;
    QStringList messages;
    // Runs inside every message box, where the real one runs its own event
    // loop: a test can run that loop and see what happens inside it.
    std::function<void()> duringMessage;
    struct Start
    {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::vector<Start> starts;
};
