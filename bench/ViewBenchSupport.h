#pragma once

#include "collection/DocHost.h"
#include "desktop/app/Prompts.h"

#include <QElapsedTimer>
#include <QString>

#include <string>
#include <vector>

class CVarnexDoc;
class CVarnexView;

// Answers every question with nothing: no files, no folder, no dialog, no
// program started. A benchmark overrides the answers it needs.
class CBenchPrompts : public IPrompts
{
public:
    QStringList GetOpenFileNames(QWidget*, const QString&, const QString&) override { return {}; }
    QString GetOpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString GetProgramFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString GetExistingDirectory(QWidget*, const QString&) override { return {}; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    void MessageBox(QWidget*, const QString&, EIcon) override {}
    EAnswer AskSaveChanges(QWidget*, const QString&) override { return EAnswer::No; }
    EAnswer AskYesNo(QWidget*, const QString&) override { return EAnswer::No; }
    std::optional<std::pair<QFont, QColor>> ChooseFont(QWidget*, const QFont&, const QColor&) override
    {
        return std::nullopt;
    }
    int ExecDialog(QDialog&) override { return 0; }
    bool StartDetached(const std::string&, const std::vector<std::string>&) override { return false; }
};

// Pumps events before each file and runs idle work, as the program does.
class CPumpHost : public IDocHost
{
public:
    void BeforeRead() override;
    CVarnexDoc* m_doc = nullptr;
    QElapsedTimer m_idle;
};

// Heap bytes in use: unlike the resident size, it drops when a scenario's
// memory is freed, so each scenario is measured on its own.
double HeapBytes();

// The first count game files (*.sgf) under folder, as the file system's bytes.
std::vector<std::string> GameFiles(const QString& folder, int count);
// Writes count generated game records under folder, a thousand to a subfolder.
std::vector<std::string> WriteGameFiles(const QString& folder, int count);
// Lets the shown list lay out and paint every row it has been told about.
void Settle(CVarnexView& view);
