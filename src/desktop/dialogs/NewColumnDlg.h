#pragma once

#include <QDialog>

#include <string>
#include <vector>

class IPrompts;
class QLineEdit;
class QPushButton;

// "Enter New Column Header": one new column's header and signature, checked
// on OK against the calling page's Available list (which it only reads).
class CNewColumnDlg : public QDialog
{
    Q_OBJECT
public:
    CNewColumnDlg(const std::vector<std::string>& available, IPrompts& prompts, QWidget* parent = nullptr);

    // The accepted texts exactly as typed.
    std::string Header() const;
    std::string Signature() const;

private:
    void CreateWidgets();
    void Connect();
    void OnOk();

    const std::vector<std::string>& m_available;
    IPrompts& m_prompts;
    QLineEdit* m_header = nullptr;
    QLineEdit* m_signature = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
