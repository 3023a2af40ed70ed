#include "desktop/view/FontColorDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

CFontColorDialog::CFontColorDialog(const QFont& font, const QColor& color, QWidget* parent)
    : QDialog(parent), m_color(color.isValid() ? color : QColor(Qt::black))
{
    setWindowTitle(tr("Font"));
    auto* layout = new QVBoxLayout(this);

    m_fonts = new QFontDialog(font, this);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setCurrentFont(font);
    layout->addWidget(m_fonts);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(tr("&Color:"), this));
    m_colorButton = new QPushButton(this);
    m_colorButton->setObjectName(QStringLiteral("colorButton"));
    colorRow->addWidget(m_colorButton);
    colorRow->addStretch(1);
    layout->addLayout(colorRow);
    static_cast<QLabel*>(colorRow->itemAt(0)->widget())->setBuddy(m_colorButton);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    connect(m_colorButton, &QPushButton::clicked, this, &CFontColorDialog::ChooseColor);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ShowColor();
}

QFont CFontColorDialog::SelectedFont() const
{
    return m_fonts->currentFont();
}

void CFontColorDialog::ChooseColor()
{
    const QColor chosen = QColorDialog::getColor(m_color, this, tr("Text Color"));
    if (chosen.isValid()) {
        m_color = chosen;
        ShowColor();
    }
}

void CFontColorDialog::ShowColor()
{
    QPixmap swatch(32, 14);
    swatch.fill(m_color);
    m_colorButton->setIcon(QIcon(swatch));
    m_colorButton->setIconSize(swatch.size());
    m_colorButton->setText(m_color.name());
}
