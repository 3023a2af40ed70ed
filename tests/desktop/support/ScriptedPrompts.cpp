#include "ScriptedPrompts.h"

template <class T>
static T TakeOr(std::deque<T>& queue, T fallback)
{
    if (queue.empty())
        return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

QStringList CScriptedPrompts::GetOpenFileNames(QWidget*, const QString& title, const QString& filter)
{
    asked << QStringLiteral("open-files: %1 | %2").arg(title, filter);
    return TakeOr(openFileNames, QStringList());
}

QString CScriptedPrompts::GetOpenFileName(QWidget*, const QString& title, const QString& filter)
{
    asked << QStringLiteral("open-file: %1 | %2").arg(title, filter);
    return TakeOr(openFileName, QString());
}

QString CScriptedPrompts::GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                          const QString& defaultSuffix, const QString&)
{
    asked << QStringLiteral("save-file: %1 | %2 | %3").arg(title, filter, defaultSuffix);
    return TakeOr(saveFileName, QString());
}

void CScriptedPrompts::MessageBox(QWidget*, const QString& text, EIcon)
{
    asked << QStringLiteral("message: %1").arg(text);
    messages << text;
}

IPrompts::EAnswer CScriptedPrompts::AskSaveChanges(QWidget*, const QString& title)
{
    asked << QStringLiteral("save-changes: %1").arg(title);
    return TakeOr(saveChanges, EAnswer::Cancel);
}

std::optional<std::pair<QFont, QColor>> CScriptedPrompts::ChooseFont(QWidget*, const QFont&, const QColor&)
{
    asked << QStringLiteral("font");
    return TakeOr(fonts, std::optional<std::pair<QFont, QColor>>());
}

int CScriptedPrompts::ExecDialog(QDialog& dialog)
{
    asked << QStringLiteral("dialog: %1").arg(dialog.windowTitle());
    auto script = TakeOr(dialogs, std::function<int(QDialog&)>());
    if (!script)
        return QDialog::Rejected;
    return script(dialog);
}

bool CScriptedPrompts::StartDetached(const QString& program, const QStringList& arguments)
{
    asked << QStringLiteral("start: %1 %2").arg(program, arguments.join(QLatin1Char(' ')));
    starts.push_back({program, arguments});
    return startSucceeds;
}
