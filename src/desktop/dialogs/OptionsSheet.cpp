#include "desktop/dialogs/OptionsSheet.h"

#include "desktop/dialogs/ColumnHeadersPage.h"
#include "desktop/dialogs/OthersPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

COptionsSheet::COptionsSheet(const COptionsValues& loaded, IPrompts& prompts, QWidget* parent) : QDialog(parent)
{
    CreateWidgets(loaded, prompts);
    Connect();
}

void COptionsSheet::CreateWidgets(const COptionsValues& loaded, IPrompts& prompts)
{
    setWindowTitle(QStringLiteral("Options Setup Dialog"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("optionsTabs"));
    m_columns = new CColumnHeadersPage(loaded.definitions, loaded.shown, prompts, m_tabs);
    m_others = new COthersPage(loaded.viewer, loaded.myNames, prompts, m_tabs);
    m_others->SetNoneCharset(loaded.noneCharset);
    m_tabs->addTab(m_columns, QStringLiteral("Column Headers"));
    m_tabs->addTab(m_others, QStringLiteral("Others"));
    m_tabs->setCurrentIndex(0);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("optionsButtons"));
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
}

void COptionsSheet::Connect()
{
    connect(m_buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::OnOk);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void COptionsSheet::OnOk()
{
    if (!m_others->Validate()) {
        m_tabs->setCurrentWidget(m_others);
        return;
    }
    m_others->Save();
    m_columns->Save();
    accept();
}

COptionsValues COptionsSheet::Edited() const
{
    COptionsValues values;
    values.viewer = m_others->Viewer();
    values.myNames = m_others->MyNames();
    values.noneCharset = m_others->NoneCharset();
    values.definitions = m_columns->Definitions();
    values.shown = m_columns->Shown();
    return values;
}
