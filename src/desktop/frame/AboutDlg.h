#pragma once

#include <QDialog>

class QLabel;

// The About box: the program's icon, the version line and OK.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr double kVersion = 1.08;

    explicit CAboutDlg(QWidget* parent = nullptr);

    QString VersionText() const;

private:
    QLabel* m_version = nullptr;
};
