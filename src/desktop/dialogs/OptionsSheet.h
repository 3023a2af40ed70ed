#pragma once

#include "settings/OptionsValues.h"

#include <QDialog>

class CColumnHeadersPage;
class COthersPage;
class IPrompts;
class QDialogButtonBox;
class QTabWidget;

// "Options Setup Dialog": the Column Headers page, then the Others page; OK
// and Cancel, no Apply. It only edits; the view writes what changed.
class COptionsSheet : public QDialog
{
    Q_OBJECT
public:
    COptionsSheet(const COptionsValues& loaded, IPrompts& prompts, QWidget* parent = nullptr);

    // The values as the pages hold them after OK.
    COptionsValues Edited() const;

    CColumnHeadersPage* ColumnsPage() const { return m_columns; }
    COthersPage* OthersPage() const { return m_others; }
    QTabWidget* Tabs() const { return m_tabs; }

private:
    void CreateWidgets(const COptionsValues& loaded, IPrompts& prompts);
    void Connect();
    void OnOk();

    QTabWidget* m_tabs = nullptr;
    CColumnHeadersPage* m_columns = nullptr;
    COthersPage* m_others = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
