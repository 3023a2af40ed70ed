#include "desktop/pattern/PatternPanel.h"

#include "desktop/pattern/ContinuationTable.h"
#include "desktop/pattern/DateProfile.h"
#include "desktop/pattern/PatternBoard.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CPatternPanel::CPatternPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("patternPanel"));
    // The pattern board is what the mode is for: it takes the room first.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_board = new CPatternBoard(this);
    m_kind = new QLabel(this);
    m_kind->setObjectName(QStringLiteral("patternKind"));
    m_fixed = new QCheckBox(QStringLiteral("Fixed colours"), this);
    m_fixed->setObjectName(QStringLiteral("patternFixedColours"));
    const auto button = [this](const QString& text, const char* name, const QString& tip = {}) {
        auto* made = new QPushButton(text, this);
        made->setObjectName(QLatin1String(name));
        made->setAutoDefault(false);
        made->setFocusPolicy(Qt::TabFocus);
        if (!tip.isEmpty())
            made->setToolTip(tip);
        return made;
    };
    m_search = button(QStringLiteral("Search"), "patternSearch");
    m_clear = button(QStringLiteral("Clear"), "patternClear");
    m_fromGame = button(QStringLiteral("From Game"), "patternFromGame");
    m_back = button(QStringLiteral("Back"), "patternBack", QStringLiteral("The search before (Alt+Left)"));
    m_forward = button(QStringLiteral("Forward"), "patternForward", QStringLiteral("The search after (Alt+Right)"));
    m_table = new CContinuationTable(this);
    m_profile = new CDateProfile(this);

    auto* under = new QHBoxLayout;
    under->addWidget(m_kind, 1);
    under->addWidget(m_fixed);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_search);
    buttons->addWidget(m_clear);
    buttons->addWidget(m_fromGame);
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_board, 5);
    layout->addLayout(under);
    layout->addLayout(buttons);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_profile);
    UpdateKind();
}

void CPatternPanel::UpdateKind()
{
    const CPatternSketch& sketch = m_board->Sketch();
    m_kind->setText(QStringLiteral("Pattern: %1").arg(QString::fromLatin1(RectKindWords(sketch.Kind()))));
}
