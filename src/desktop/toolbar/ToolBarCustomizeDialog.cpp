#include "desktop/toolbar/ToolBarCustomizeDialog.h"

#include "desktop/app/Prompts.h"
#include "desktop/toolbar/CustToolBar.h"
#include "qtcore/ResText.h"
#include "settings/StringTable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <set>

namespace {
constexpr int kCommandRole = Qt::UserRole;

QListWidgetItem* MakeItem(int command)
{
    auto* item = new QListWidgetItem;
    if (command == 0) {
        // A blank picture keeps the texts of all entries in one column.
        QPixmap blank(16, 15);
        blank.fill(Qt::transparent);
        item->setIcon(QIcon(blank));
        item->setText(QStringLiteral("Separator"));
    } else {
        item->setIcon(CCustToolBar::ButtonIcon(command));
        item->setText(CCustToolBar::ToolTipText(command));
    }
    item->setData(kCommandRole, command);
    return item;
}

int CommandOf(const QListWidgetItem* item)
{
    return item ? item->data(kCommandRole).toInt() : 0;
}
} // namespace

CToolBarCustomizeDialog::CToolBarCustomizeDialog(CCustToolBar& bar, IPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_bar(bar), m_prompts(prompts), m_atOpen(bar.CurrentLayout())
{
    setWindowTitle(QStringLiteral("Customize Toolbar"));

    m_available = new QListWidget(this);
    m_available->setObjectName(QStringLiteral("availableList"));
    m_current = new QListWidget(this);
    m_current->setObjectName(QStringLiteral("currentList"));
    for (QListWidget* list : {m_available, m_current}) {
        list->setIconSize(QSize(16, 15));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumWidth(170);
    }
    auto* availableLabel = new QLabel(QStringLiteral("A&vailable toolbar buttons:"), this);
    availableLabel->setBuddy(m_available);
    auto* currentLabel = new QLabel(QStringLiteral("&Toolbar buttons:"), this);
    currentLabel->setBuddy(m_current);

    auto makeButton = [this](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1StringView(name));
        button->setAutoDefault(false);
        return button;
    };
    m_add = makeButton(QStringLiteral("&Add ->"), "addButton");
    m_remove = makeButton(QStringLiteral("<- &Remove"), "removeButton");
    m_up = makeButton(QStringLiteral("Move &Up"), "upButton");
    m_down = makeButton(QStringLiteral("Move &Down"), "downButton");
    QPushButton* close = makeButton(QStringLiteral("&Close"), "closeButton");
    QPushButton* reset = makeButton(QStringLiteral("R&eset"), "resetButton");
    QPushButton* help = makeButton(QStringLiteral("&Help"), "helpButton");
    close->setDefault(true);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(close);
    right->addWidget(reset);
    right->addWidget(help);
    right->addStretch();
    right->addWidget(m_up);
    right->addWidget(m_down);

    auto* grid = new QGridLayout(this);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(currentLabel, 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_current, 1, 2);
    grid->addLayout(right, 1, 3);

    connect(m_add, &QPushButton::clicked, this, &CToolBarCustomizeDialog::AddSelected);
    connect(m_remove, &QPushButton::clicked, this, &CToolBarCustomizeDialog::RemoveSelected);
    connect(m_up, &QPushButton::clicked, this, &CToolBarCustomizeDialog::MoveUp);
    connect(m_down, &QPushButton::clicked, this, &CToolBarCustomizeDialog::MoveDown);
    connect(reset, &QPushButton::clicked, this, &CToolBarCustomizeDialog::Reset);
    connect(help, &QPushButton::clicked, this, &CToolBarCustomizeDialog::Help);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &CToolBarCustomizeDialog::AddSelected);
    connect(m_current, &QListWidget::itemDoubleClicked, this, &CToolBarCustomizeDialog::RemoveSelected);
    connect(m_available, &QListWidget::currentRowChanged, this, &CToolBarCustomizeDialog::UpdateButtons);
    connect(m_current, &QListWidget::currentRowChanged, this, &CToolBarCustomizeDialog::UpdateButtons);

    Fill(-1, 0);
}

void CToolBarCustomizeDialog::AddSelected()
{
    const QListWidgetItem* chosen = m_available->currentItem();
    if (!chosen)
        return;
    const int command = CommandOf(chosen);
    const int availableRow = m_available->currentRow();
    std::vector<int> commands = m_bar.CurrentLayout().Commands();
    int at = m_current->currentRow();
    if (at < 0 || at > static_cast<int>(commands.size()))
        at = static_cast<int>(commands.size());
    commands.insert(commands.begin() + at, command);
    m_bar.ApplyLayout(CToolBarLayout(std::move(commands)));
    // The selected bar button stays selected, so further additions go in
    // before it in the order they are made.
    const int currentRow = m_current->currentRow() < 0 ? -1 : at + 1;
    Fill(currentRow, availableRow);
}

void CToolBarCustomizeDialog::RemoveSelected()
{
    const int row = m_current->currentRow();
    std::vector<int> commands = m_bar.CurrentLayout().Commands();
    if (row < 0 || row >= static_cast<int>(commands.size()))
        return;
    commands.erase(commands.begin() + row);
    m_bar.ApplyLayout(CToolBarLayout(std::move(commands)));
    Fill(std::min(row, static_cast<int>(m_bar.CurrentLayout().Commands().size()) - 1), m_available->currentRow());
}

void CToolBarCustomizeDialog::MoveUp()
{
    const int row = m_current->currentRow();
    std::vector<int> commands = m_bar.CurrentLayout().Commands();
    if (row < 1 || row >= static_cast<int>(commands.size()))
        return;
    std::swap(commands[row - 1], commands[row]);
    m_bar.ApplyLayout(CToolBarLayout(std::move(commands)));
    Fill(row - 1, m_available->currentRow());
}

void CToolBarCustomizeDialog::MoveDown()
{
    const int row = m_current->currentRow();
    std::vector<int> commands = m_bar.CurrentLayout().Commands();
    if (row < 0 || row + 1 >= static_cast<int>(commands.size()))
        return;
    std::swap(commands[row], commands[row + 1]);
    m_bar.ApplyLayout(CToolBarLayout(std::move(commands)));
    Fill(row + 1, m_available->currentRow());
}

void CToolBarCustomizeDialog::Reset()
{
    m_bar.ApplyLayout(m_atOpen);
    Fill(-1, 0);
}

void CToolBarCustomizeDialog::Help()
{
    m_prompts.MessageBox(this, ResText(IDS_NO_HELP), IPrompts::EIcon::None);
}

void CToolBarCustomizeDialog::Fill(int currentRow, int availableRow)
{
    const std::vector<int>& shown = m_bar.CurrentLayout().Commands();
    const std::set<int> onBar(shown.begin(), shown.end());

    m_current->clear();
    for (int command : shown)
        m_current->addItem(MakeItem(command));

    m_available->clear();
    for (const SToolBarButton& button : m_bar.ResourceButtons()) {
        if (button.IsSeparator() || onBar.count(button.command) == 0)
            m_available->addItem(MakeItem(button.command));
    }

    if (currentRow >= 0 && currentRow < m_current->count())
        m_current->setCurrentRow(currentRow);
    if (m_available->count() > 0)
        m_available->setCurrentRow(std::clamp(availableRow, 0, m_available->count() - 1));
    UpdateButtons();
}

void CToolBarCustomizeDialog::UpdateButtons()
{
    const int row = m_current->currentRow();
    m_add->setEnabled(m_available->currentItem() != nullptr);
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < m_current->count());
}
