#include "desktop/dialogs/NewColumnDlg.h"

#include "columns/NewColumnCheck.h"
#include "desktop/app/Prompts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CNewColumnDlg::CNewColumnDlg(const std::vector<std::string>& available, IPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_available(available), m_prompts(prompts)
{
    CreateWidgets();
    Connect();
}

void CNewColumnDlg::CreateWidgets()
{
    setWindowTitle(QStringLiteral("Enter New Column Header"));
    m_header = new QLineEdit(this);
    m_header->setObjectName(QStringLiteral("headerEdit"));
    m_signature = new QLineEdit(this);
    m_signature->setObjectName(QStringLiteral("signatureEdit"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(QStringLiteral("Column Header:"), m_header);
    form->addRow(QStringLiteral("Signature:"), m_signature);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_header->setFocus();
}

void CNewColumnDlg::Connect()
{
    connect(m_ok, &QPushButton::clicked, this, &CNewColumnDlg::OnOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string CNewColumnDlg::Header() const
{
    return m_header->text().toStdString();
}

std::string CNewColumnDlg::Signature() const
{
    return m_signature->text().toStdString();
}

void CNewColumnDlg::OnOk()
{
    const std::string header = Header();
    const ENewColumnCheck check = CheckNewColumn(header, Signature(), m_available);
    if (check == ENewColumnCheck::Ok) {
        accept();
        return;
    }
    m_prompts.MessageBox(this, QString::fromStdString(NewColumnMessage(check, header)), IPrompts::EIcon::Warning);
    QLineEdit* field = IsHeaderCheck(check) ? m_header : m_signature;
    field->setFocus();
    field->selectAll();
}
