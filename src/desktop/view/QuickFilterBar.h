#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
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

    // A line that says which special view is on and how to leave it; the
    // bar stands while it is set, even when the field was never opened.
    void SetNote(const QString& note);
    QLabel* Note() const { return m_note; }
    // What the typed text got wrong: the field's text turns red and its tool
    // tip names each problem; none puts back the tool tip with the terms.
    void ShowProblems(const std::vector<std::string>& problems);
    bool HasProblems() const { return m_hasProblems; }
    // The tool tip that lists the search terms.
    static QString TermsHelp();

signals:
    void FilterChanged(const QString& text);
    // Esc in the field, or Close(): the view leaves its special view too.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_field = nullptr;
    QLabel* m_note = nullptr;
    bool m_opened = false;
    bool m_hasProblems = false;
};
