#pragma once

#include <QStatusBar>

#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QToolButton;

// The frame's status bar: the message pane ("Ready" when idle, command
// prompts while the pointer is over a command, the progress of a batch of
// files being read) and two fixed-width count panes.
class CCountStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit CCountStatusBar(QWidget* parent = nullptr);

    // Three indicators; the count panes get their widths from string 1102.
    void InitPanes();
    // Count index 0 is the selected-files pane, 1 the total pane. The pane is
    // rewritten (and repainted at once) only when the text differs.
    void SetPaneTextIfChanged(int countIndex, const QString& text);
    // total counts the rows; files, when it differs (files of several
    // games), is named beside it.
    void SetCounts(int selected, int total, int files = -1);
    // (0, 0) ends the progress display. While a batch can be stopped the
    // Cancel button (and the Esc key) stands beside the progress bar.
    void ShowProgress(int current, int total, bool stoppable = false);
    // A text in the message pane, until the next progress or idle text.
    void ShowMessage(const QString& text);
    // A notice in a pane of its own beside the message pane ("N game files
    // could not be read"), so the filter's count stays in view; the next
    // command prompt takes its place.
    void ShowNotice(const QString& text);
    // While the quick filter is on, the message pane's idle text is
    // "M of N File(s) shown" instead of "Ready".
    void SetShownCounts(int shown, int total, bool filtering);
    // While the duplicates view is on, its counts take the place of the
    // filter's ("N files of M games"); told before SetShownCounts.
    void SetDuplicateCounts(int files, int games, bool on);
    // While the list shows the games a position search found, its text
    // ("N games with the pattern ...") takes the place of the filter's; a
    // Find on top of them puts its count before it. Empty: none.
    void SetPatternText(const QString& text, int games);
    static QString DuplicatesText(int files, int games);
    QString IdleText() const;

    QString PaneText(int countIndex) const;
    QLabel* Pane(int countIndex) const;
    QLabel* MessagePane() const { return m_message; }
    QLabel* NoticePane() const { return m_notice; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QToolButton* CancelButton() const { return m_cancel; }

signals:
    void CancelClicked();

public:
    // How often a count pane was rewritten.
    int PaneWrites(int countIndex) const;

    // Pane widths in average characters from a text such as "20,20": each
    // pane takes the number before the next comma; when the commas run out
    // the remaining panes reuse the last number.
    static std::vector<int> ParsePaneWidths(const std::string& text, int panes);

private:
    void FitPane(int countIndex);

    QLabel* m_message = nullptr;
    QLabel* m_notice = nullptr;
    QProgressBar* m_progress = nullptr;
    QToolButton* m_cancel = nullptr;
    QString m_shownText;
    QString m_duplicateText;
    QString m_patternText;
    int m_patternGames = 0;
    QLabel* m_panes[2] = {nullptr, nullptr};
    int m_writes[2] = {0, 0};
    // The width the settings give each count pane; a longer text widens it.
    int m_minWidths[2] = {0, 0};
};
