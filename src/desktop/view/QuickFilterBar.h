#pragma once

#include <QWidget>

class QLineEdit;

// The one-line field above the list that the Find command shows. Every
// change of its text is told at once; Esc empties and hides it.
class CQuickFilterBar : public QWidget
{
    Q_OBJECT
public:
    explicit CQuickFilterBar(QWidget* parent = nullptr);

    // Shows the field and puts the keyboard focus into it.
    void Open();
    // Empties and hides the field.
    void Close();

    QLineEdit* Field() const { return m_field; }
    QString Text() const;

signals:
    void FilterChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_field = nullptr;
};
