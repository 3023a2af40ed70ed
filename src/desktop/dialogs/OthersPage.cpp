#include "desktop/dialogs/OthersPage.h"

#include "desktop/app/Prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Text typed into a field goes back as UTF-8; a field left as loaded gives
// back the stored bytes, so bytes that are not UTF-8 survive an OK.
std::string TakeText(const QLineEdit& edit, const std::string& loaded)
{
    if (edit.text() == QString::fromStdString(loaded))
        return loaded;
    return edit.text().toStdString();
}
} // namespace

COthersPage::COthersPage(const std::string& viewer, const std::string& myNames, IPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_viewer(viewer), m_myNames(myNames), m_prompts(prompts)
{
    CreateWidgets();
    Load();
    Connect();
}

QString COthersPage::ProgramFilter()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Program File (*.exe)|*.exe||");
#else
    // Programs here have no extension; the dialog accepts executable files only.
    return QStringLiteral("Programs (*)|*||");
#endif
}

void COthersPage::CreateWidgets()
{
    setObjectName(QStringLiteral("othersPage"));
    m_viewerEdit = new QLineEdit(this);
    m_viewerEdit->setObjectName(QStringLiteral("viewerEdit"));
    m_browse = new QPushButton(QStringLiteral("Browse"), this);
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_browse->setAutoDefault(false);
    m_namesEdit = new QLineEdit(this);
    m_namesEdit->setObjectName(QStringLiteral("myNamesEdit"));
    auto* viewerHelp = new QLabel(
        QStringLiteral("The viewer gets the game file as its last argument. The path of a program is taken whole, "
                       "blanks and all; any other text is split into words as a POSIX shell splits them: "
                       "'single' or \"double\" quotes keep blanks in a word, and \\ takes the next character "
                       "as it is. Nothing is expanded."),
        this);
    viewerHelp->setObjectName(QStringLiteral("viewerHelp"));
    viewerHelp->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("MGT Viewer:"), this), 0, 0);
    grid->addWidget(m_viewerEdit, 0, 1, 1, 2);
    grid->addWidget(m_browse, 1, 2, Qt::AlignRight);
    grid->addWidget(viewerHelp, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("My Names:"), this), 3, 0);
    grid->addWidget(m_namesEdit, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    m_charsetCombo = new QComboBox(this);
    m_charsetCombo->setObjectName(QStringLiteral("charsetCombo"));
    m_charsetCombo->addItem(QStringLiteral("Automatic"), QString());
    for (const QString& charset : NoneCharsets())
        m_charsetCombo->addItem(charset, charset);
    auto* charsetLabel = new QLabel(QStringLiteral("Charset of records that name none:"), this);
    charsetLabel->setBuddy(m_charsetCombo);
    const int row = grid->rowCount();
    grid->addWidget(charsetLabel, row, 0, 1, 3);
    grid->addWidget(m_charsetCombo, row + 1, 1, 1, 2);
    grid->setRowStretch(4, 0);
    grid->setRowStretch(row + 2, 1);
}

const QStringList& COthersPage::NoneCharsets()
{
    static const QStringList charsets = {
        QStringLiteral("GB18030"),    QStringLiteral("Big5"),         QStringLiteral("Shift_JIS"),
        QStringLiteral("EUC-JP"),     QStringLiteral("EUC-KR"),       QStringLiteral("Windows-1252"),
        QStringLiteral("ISO-8859-2"), QStringLiteral("Windows-1251"), QStringLiteral("KOI8-R"),
    };
    return charsets;
}

void COthersPage::SetNoneCharset(const std::string& charset)
{
    const QString name = QString::fromStdString(charset);
    int at = m_charsetCombo->findData(name, Qt::UserRole, Qt::MatchFixedString);
    if (at < 0) {
        m_charsetCombo->addItem(name, name);
        at = m_charsetCombo->count() - 1;
    }
    m_charsetCombo->setCurrentIndex(name.isEmpty() ? 0 : at);
}

std::string COthersPage::NoneCharset() const
{
    return m_charsetCombo->currentData().toString().toStdString();
}

void COthersPage::Load()
{
    m_viewerEdit->setText(QString::fromStdString(m_viewer));
    m_namesEdit->setText(QString::fromStdString(m_myNames));
    m_lastViewerText = m_viewerEdit->text();
}

void COthersPage::Connect()
{
    connect(m_browse, &QPushButton::clicked, this, &COthersPage::OnBrowse);
    connect(m_viewerEdit, &QLineEdit::textEdited, this, &COthersPage::OnViewerEdited);
}

void COthersPage::OnViewerEdited(const QString& text)
{
    if (text.size() <= kViewerLimit || text.size() <= m_lastViewerText.size()) {
        m_lastViewerText = text;
        return;
    }
    // Refuse the edit that would grow the text past the limit, cursor and all.
    const int cursor = m_viewerEdit->cursorPosition() - static_cast<int>(text.size() - m_lastViewerText.size());
    m_viewerEdit->setText(m_lastViewerText);
    m_viewerEdit->setCursorPosition(cursor);
}

void COthersPage::OnBrowse()
{
    const QString chosen = m_prompts.GetProgramFileName(this, QStringLiteral("Select an MGT Viewer Program"),
                                                        ProgramFilter(), m_viewerEdit->text());
    if (!chosen.isEmpty()) {
        m_viewerEdit->setText(chosen);
        m_lastViewerText = chosen;
    }
}

bool COthersPage::Validate()
{
    if (m_viewerEdit->text().size() <= kViewerLimit)
        return true;
    m_prompts.MessageBox(this, QStringLiteral("The MGT Viewer may have no more than %1 characters.").arg(kViewerLimit),
                         IPrompts::EIcon::Warning);
    m_viewerEdit->setFocus();
    return false;
}

void COthersPage::Save()
{
    m_viewer = TakeText(*m_viewerEdit, m_viewer);
    m_myNames = TakeText(*m_namesEdit, m_myNames);
}
