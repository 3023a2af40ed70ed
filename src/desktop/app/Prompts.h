#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

// Every modal interaction and every program start goes through this seam.
// The desktop program shows real dialogs (CQtPrompts); GUI tests install a
// scripted implementation that records what was asked and answers as told.
// File-type filters are given in the program's own form: description and
// pattern pairs separated by "|" and ended by "||".
class IPrompts
{
public:
    enum class EIcon { None, Information, Warning, Error, Stop };
    enum class EAnswer { Yes, No, Cancel };

    virtual ~IPrompts() = default;

    // Full paths in the order the dialog lists them; empty when cancelled.
    virtual QStringList GetOpenFileNames(QWidget* parent, const QString& title, const QString& filter) = 0;
    // One path, or empty when cancelled.
    virtual QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // A program to run: the full path of an existing file the system can run,
    // or empty when cancelled. initialName is filled in as the file name.
    virtual QString GetProgramFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& initialName) = 0;
    // An existing folder, or empty when cancelled.
    virtual QString GetExistingDirectory(QWidget* parent, const QString& title) = 0;
    // One path, or empty when cancelled. defaultSuffix ("txt", "vnx") is added
    // to a name typed without one; replacing an existing file is confirmed.
    virtual QString GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& defaultSuffix, const QString& initialPath) = 0;
    // A message box with an OK button.
    virtual void MessageBox(QWidget* parent, const QString& text, EIcon icon) = 0;
    // The unsaved-changes question: save changes to title?
    virtual EAnswer AskSaveChanges(QWidget* parent, const QString& title) = 0;
    // A question with Yes and No buttons (No when the box is closed).
    virtual EAnswer AskYesNo(QWidget* parent, const QString& text) = 0;
    // The font dialog with a text colour; nothing when cancelled.
    virtual std::optional<std::pair<QFont, QColor>> ChooseFont(QWidget* parent, const QFont& font,
                                                               const QColor& color) = 0;
    // Runs one of the program's own modal dialogs; returns its result code.
    virtual int ExecDialog(QDialog& dialog) = 0;
    // Starts a program without a shell; true when it started. Program and
    // arguments are the file system's bytes, passed on unchanged.
    virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
};
