#pragma once

#include "desktop/app/Prompts.h"

// The real dialogs. File dialogs start in the process's current folder and
// make the folder of a confirmed choice the current one, so the next run's
// dialogs open where the user last worked.
class CQtPrompts : public IPrompts
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

    // "desc|pattern;pattern|...||" as Qt's name filters: "desc (pattern pattern)".
    static QStringList ToQtFilters(const QString& filter);
};
