#include "desktop/frame/AboutDlg.h"

#include "desktop/frame/ProgramIcon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Varnex"));
    setObjectName(QStringLiteral("AboutDlg"));

    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("AboutIcon"));
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    layout->addWidget(icon);

    m_version = new QLabel(QStringLiteral("Varnex Version %0.2f"), this);
    m_version->setObjectName(QStringLiteral("VersionLine"));
    m_version->setMinimumWidth(m_version->fontMetrics().averageCharWidth() * 33);
    layout->addWidget(m_version, 1, Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(buttons, 0, Qt::AlignTop);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    // The line holds its template until the dialog fills in the number.
    m_version->setText(QString::asprintf(m_version->text().toUtf8().constData(), kVersion));
}

QString CAboutDlg::VersionText() const
{
    return m_version->text();
}
