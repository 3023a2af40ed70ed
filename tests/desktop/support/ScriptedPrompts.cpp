#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

// A question the test did not script fails it; the neutral answer keeps the
// program going so the rest of the test still reports.
template <class T> static T TakeOr(std::deque<T>& queue, T fallback, const QString& question)
{
    if (queue.empty()) {
        ADD_FAILURE() << "unscripted question: " << question.toStdString();
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

QStringList CScriptedPrompts::GetOpenFileNames(QWidget*, const QString& title, const QString& filter)
{
    asked << QStringLiteral("open-files: %1 | %2").arg(title, filter);
    return TakeOr(openFileNames, QStringList(), asked.back());
}

QString CScriptedPrompts::GetOpenFileName(QWidget*, const QString& title, const QString& filter)
{
    asked << QStringLiteral("open-file: %1 | %2").arg(title, filter);
    return TakeOr(openFileName, QString(), asked.back());
}

QString CScriptedPrompts::GetExistingDirectory(QWidget*, const QString& title)
{
    asked << QStringLiteral("folder: %1").arg(title);
    return TakeOr(folders, QString(), asked.back());
}

QString CScriptedPrompts::GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                          const QString& defaultSuffix, const QString&)
{
    asked << QStringLiteral("save-file: %1 | %2 | %3").arg(title, filter, defaultSuffix);
    return TakeOr(saveFileName, QString(), asked.back());
}

void CScriptedPrompts::MessageBox(QWidget*, const QString& text, EIcon)
{
    asked << QStringLiteral("message: %1").arg(text);
    messages << text;
    if (duringMessage)
        duringMessage();
}

IPrompts::EAnswer CScriptedPrompts::AskSaveChanges(QWidget*, const QString& title)
{
    asked << QStringLiteral("save-changes: %1").arg(title);
    return TakeOr(saveChanges, EAnswer::Cancel, asked.back());
}

IPrompts::EAnswer CScriptedPrompts::AskYesNo(QWidget*, const QString& text)
{
    asked << QStringLiteral("yes-no: %1").arg(text);
    return TakeOr(yesNo, EAnswer::No, asked.back());
}

std::optional<std::pair<QFont, QColor>> CScriptedPrompts::ChooseFont(QWidget*, const QFont&, const QColor&)
{
    asked << QStringLiteral("font");
    return TakeOr(fonts, std::optional<std::pair<QFont, QColor>>(), asked.back());
}

QString CScriptedPrompts::GetProgramFileName(QWidget*, const QString& title, const QString& filter,
                                             const QString& initialName)
{
    asked << QStringLiteral("program-file: %1 | %2 | %3").arg(title, filter, initialName);
    return TakeOr(programFileName, QString(), asked.back());
}

int CScriptedPrompts::ExecDialog(QDialog& dialog)
{
    asked << QStringLiteral("dialog: %1").arg(dialog.windowTitle());
    auto script = TakeOr(dialogs, std::function<int(QDialog&)>(), asked.back());
    if (!script)
        return QDialog::Rejected;
    return script(dialog);
}

bool CScriptedPrompts::StartDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    QString line = QStringLiteral("start: ") + QString::fromStdString(program);
    for (const std::string& arg : arguments)
        line += QLatin1Char(' ') + QString::fromStdString(arg);
    asked << line;
    starts.push_back({program, arguments});
    if (startResults.empty())
        return startSucceeds;
    const bool started = startResults.front();
    startResults.pop_front();
    return started;
}

void CScriptedPrompts::ExpectAllUsed() const
{
    const auto check = [](std::size_t left, const char* queue) {
        EXPECT_EQ(left, 0u) << "scripted answers left unused in " << queue;
    };
    check(openFileNames.size(), "openFileNames");
    check(openFileName.size(), "openFileName");
    check(saveFileName.size(), "saveFileName");
    check(programFileName.size(), "programFileName");
    check(folders.size(), "folders");
    check(saveChanges.size(), "saveChanges");
    check(yesNo.size(), "yesNo");
    check(fonts.size(), "fonts");
    check(dialogs.size(), "dialogs");
    check(startResults.size(), "startResults");
}
