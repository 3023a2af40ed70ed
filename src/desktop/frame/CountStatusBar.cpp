#include "desktop/frame/CountStatusBar.h"

#include "qtcore/ResText.h"
#include "settings/StringTable.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>

namespace {

// Like atoi: leading blanks, a sign, digits; anything else ends the number.
int LeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 10000)
            value = 10000;
    }
    return static_cast<int>(negative ? -value : value);
}
} // namespace

CCountStatusBar::CCountStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(true);
}

std::vector<int> CCountStatusBar::ParsePaneWidths(const std::string& text, int panes)
{
    std::vector<int> widths;
    std::size_t pos = 0;
    int last = 0;
    bool commasLeft = true;
    for (int i = 0; i < panes; ++i) {
        if (commasLeft) {
            const std::size_t comma = text.find(',', pos);
            const std::string part = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            last = LeadingNumber(part);
            if (comma == std::string::npos)
                commasLeft = false;
            else
                pos = comma + 1;
        }
        widths.push_back(last < 0 ? 0 : last);
    }
    return widths;
}

void CCountStatusBar::InitPanes()
{
    m_message = new QLabel(ResText(AFX_IDS_IDLEMESSAGE), this);
    m_message->setObjectName(QStringLiteral("MessagePane"));
    addWidget(m_message, 1);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("NoticePane"));
    m_notice->hide();
    addWidget(m_notice);
    // A command prompt is a temporary message; once it shows, the notice has
    // been read over and goes.
    connect(this, &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) {
            m_notice->clear();
            m_notice->hide();
        }
    });

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ReadProgress"));
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(200);
    m_progress->setMaximumHeight(fontMetrics().height());
    m_progress->hide();
    addWidget(m_progress);

    m_cancel = new QToolButton(this);
    m_cancel->setObjectName(QStringLiteral("CancelRead"));
    m_cancel->setText(QStringLiteral("Cancel"));
    m_cancel->setToolTip(QStringLiteral("Stop adding files after the one being read (Esc)"));
    // Esc reaches the button only while it is shown, that is while a batch
    // can be stopped; otherwise the key stays with the focused widget.
    m_cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    m_cancel->hide();
    connect(m_cancel, &QToolButton::clicked, this, &CCountStatusBar::CancelClicked);
    addWidget(m_cancel);

    // The widths are average character widths of the bar's font (its own
    // metric, not a measured string).
    const int average = QFontMetrics(font()).averageCharWidth();
    const std::vector<int> widths = ParsePaneWidths(LoadResString(IDS_PANE_WIDTHS), 2);
    const int indicators[2] = {ID_INDICATOR_SELECTED, ID_INDICATOR_TOTAL};
    for (int i = 0; i < 2; ++i) {
        auto* pane = new QLabel(ResText(indicators[i]), this);
        pane->setObjectName(QStringLiteral("Pane%1").arg(indicators[i]));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_minWidths[i] = widths[static_cast<std::size_t>(i)] * average;
        m_panes[i] = pane;
        FitPane(i);
        addPermanentWidget(pane);
    }
}

void CCountStatusBar::FitPane(int countIndex)
{
    // Never narrower than the stored width, never so narrow that the count is
    // cut: average characters are too few for counts of four digits or more.
    QLabel* pane = m_panes[countIndex];
    const int margins = pane->contentsMargins().left() + pane->contentsMargins().right() + 2 * pane->frameWidth() +
                        2 * pane->margin() + pane->fontMetrics().averageCharWidth();
    const int needed = pane->fontMetrics().horizontalAdvance(pane->text()) + margins;
    const int width = std::max(m_minWidths[countIndex], needed);
    if (pane->width() != width || pane->minimumWidth() != width)
        pane->setFixedWidth(width);
}

void CCountStatusBar::SetPaneTextIfChanged(int countIndex, const QString& text)
{
    QLabel* pane = Pane(countIndex);
    if (pane == nullptr || pane->text() == text)
        return;
    pane->setText(text);
    FitPane(countIndex);
    ++m_writes[countIndex];
    pane->repaint();
}

void CCountStatusBar::SetCounts(int selected, int total, int files)
{
    SetPaneTextIfChanged(0, QString::asprintf(LoadResString(IDS_FILES_SELECTED).c_str(), selected));
    SetPaneTextIfChanged(1, files <= 0 || files >= total
                                ? QString::asprintf(LoadResString(IDS_TOTAL_FILES).c_str(), total)
                                : QString::asprintf(LoadResString(IDS_TOTAL_GAMES).c_str(), total, files));
}

void CCountStatusBar::ShowProgress(int current, int total, bool stoppable)
{
    if (m_message == nullptr)
        return;
    m_cancel->setVisible(stoppable);
    if (total <= 0) {
        m_progress->hide();
        if (!stoppable)
            m_message->setText(IdleText());
        return;
    }
    m_message->setText(QStringLiteral("Reading file %1 of %2").arg(current).arg(total));
    m_progress->setRange(0, total);
    m_progress->setValue(current);
    m_progress->show();
}

QString CCountStatusBar::IdleText() const
{
    return m_shownText.isEmpty() ? ResText(AFX_IDS_IDLEMESSAGE) : m_shownText;
}

void CCountStatusBar::SetShownCounts(int shown, int total, bool filtering)
{
    if (m_message == nullptr)
        return;
    const QString before = m_shownText;
    if (!m_duplicateText.isEmpty())
        m_shownText = m_duplicateText, filtering = true;
    else if (!m_patternText.isEmpty() && shown == m_patternGames)
        m_shownText = m_patternText, filtering = true;
    else if (!m_patternText.isEmpty())
        m_shownText = QStringLiteral("%1 of %2 File(s) shown; %3").arg(shown).arg(total).arg(m_patternText),
        filtering = true;
    else
        m_shownText = filtering ? QStringLiteral("%1 of %2 File(s) shown").arg(shown).arg(total) : QString();
    // A batch being read keeps its progress in the pane.
    if (!m_progress->isHidden() || !m_cancel->isHidden())
        return;
    if (filtering) {
        if (m_message->text() != m_shownText)
            m_message->setText(m_shownText);
    } else if (!before.isEmpty() && m_message->text() == before) {
        m_message->setText(IdleText());
    }
}

void CCountStatusBar::SetDuplicateCounts(int files, int games, bool on)
{
    m_duplicateText = on ? DuplicatesText(files, games) : QString();
}

void CCountStatusBar::SetPatternText(const QString& text, int games)
{
    m_patternText = text;
    m_patternGames = games;
}

QString CCountStatusBar::DuplicatesText(int files, int games)
{
    // Each game is held in two files or more.
    return QStringLiteral("%1 files of %2 %3")
        .arg(files)
        .arg(games)
        .arg(games == 1 ? QStringLiteral("game") : QStringLiteral("games"));
}

void CCountStatusBar::ShowMessage(const QString& text)
{
    if (m_message != nullptr)
        m_message->setText(text);
}

void CCountStatusBar::ShowNotice(const QString& text)
{
    if (m_notice == nullptr)
        return;
    // The newer news: a prompt still standing goes, as any message replaces it.
    clearMessage();
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

QString CCountStatusBar::PaneText(int countIndex) const
{
    const QLabel* pane = Pane(countIndex);
    return pane != nullptr ? pane->text() : QString();
}

QLabel* CCountStatusBar::Pane(int countIndex) const
{
    return countIndex == 0 || countIndex == 1 ? m_panes[countIndex] : nullptr;
}

int CCountStatusBar::PaneWrites(int countIndex) const
{
    return countIndex == 0 || countIndex == 1 ? m_writes[countIndex] : 0;
}
