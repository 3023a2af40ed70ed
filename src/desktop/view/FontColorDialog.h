#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

// The font dialog with a text colour, as one dialog: Qt's font chooser
// embedded as a page, a colour button below it, OK and Cancel.
class CFontColorDialog : public QDialog
{
    Q_OBJECT
public:
    CFontColorDialog(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    QFont SelectedFont() const;
    QColor SelectedColor() const { return m_color; }

private:
    void ChooseColor();
    void ShowColor();

    QFontDialog* m_fonts = nullptr;
    QPushButton* m_colorButton = nullptr;
    QColor m_color;
};
