#include "desktop/view/QuickFilterBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "report/RowFilter.h"

CQuickFilterBar::CQuickFilterBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("quickFilterBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("quickFilter"));
    m_field->setClearButtonEnabled(true);
    m_field->setPlaceholderText(QStringLiteral("Words to find in the list, or player:, date:, result: ..."));
    m_field->setToolTip(TermsHelp());
    auto* label = new QLabel(QStringLiteral("F&ind:"), this);
    label->setBuddy(m_field);
    layout->addWidget(label);
    layout->addWidget(m_field, 1);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("quickFilterNote"));
    m_note->hide();
    layout->addWidget(m_note);
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textChanged, this, &CQuickFilterBar::FilterChanged);
    hide();
}

void CQuickFilterBar::Open()
{
    m_opened = true;
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void CQuickFilterBar::Close()
{
    m_opened = false;
    m_field->clear();
    hide();
    emit Closed();
}

void CQuickFilterBar::SetNote(const QString& note)
{
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
    if (!note.isEmpty())
        show();
    else if (!m_opened)
        hide();
}

QString CQuickFilterBar::TermsHelp()
{
    QStringList names;
    for (std::string_view name : CRowFilter::FieldNames())
        names << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) + QLatin1Char(':');
    return QStringLiteral("Every term must match: a word is found in any cell; \"a phrase\" is one word;\n"
                          "FIELD:TEXT looks in one field: %1\n"
                          "or a property identifier (PB:, EV:, RO:, PC: ...);\n"
                          "date:2016, date:2016-03, date:2016..2019, date:..1990, date:2016..;\n"
                          "result:B+R, result:W+, result:jigo, result:void;\n"
                          "a leading - leaves out what matches (-result:void).")
        .arg(names.join(QLatin1Char(' ')));
}

void CQuickFilterBar::ShowProblems(const std::vector<std::string>& problems)
{
    m_hasProblems = !problems.empty();
    QPalette palette = m_field->palette();
    palette.setColor(QPalette::Text, m_hasProblems ? QColor(Qt::red) : QWidget::palette().color(QPalette::Text));
    m_field->setPalette(palette);
    if (!m_hasProblems) {
        m_field->setToolTip(TermsHelp());
        return;
    }
    QStringList lines;
    for (const std::string& problem : problems)
        lines << QString::fromStdString(problem);
    lines << QString() << TermsHelp();
    m_field->setToolTip(lines.join(QLatin1Char('\n')));
}

QString CQuickFilterBar::Text() const
{
    return m_field->text();
}

bool CQuickFilterBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field) {
        // Esc belongs to the field while it has the focus, before any
        // shortcut of the window sees it.
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                event->accept();
                if (event->type() == QEvent::KeyPress)
                    Close();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
