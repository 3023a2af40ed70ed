#include "desktop/dialogs/ColumnHeadersPage.h"

#include "collection/DerivedValues.h"
#include "columns/ColumnDef.h"
#include "desktop/app/Prompts.h"
#include "desktop/dialogs/NewColumnDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// What the cells of a column with this signature will hold, for the tool tip
// beside its header.
QString SignatureMeaning(const std::string& signature)
{
    const QString text = QString::fromStdString(signature);
    if (ClassifySignature(signature) != kPlainSignature)
        return QStringLiteral("%1: a derived value").arg(text);
    // Property identifiers are upper-case letters; anything else never matches
    // a stored property, so its cells stay empty.
    bool identifier = !signature.empty();
    for (char c : signature)
        identifier = identifier && c >= 'A' && c <= 'Z';
    if (identifier)
        return QStringLiteral("%1: a game record property").arg(text);
    return QStringLiteral("%1: names nothing, the cells stay empty").arg(text);
}

int SelectedRow(const QListWidget& list)
{
    const QList<QListWidgetItem*> items = list.selectedItems();
    return items.isEmpty() ? CHeaderLists::kNone : list.row(items.front());
}

void SelectRow(QListWidget& list, int row)
{
    if (row == CHeaderLists::kNone) {
        list.clearSelection();
        list.setCurrentRow(-1);
    } else {
        list.setCurrentRow(row);
    }
}
} // namespace

CColumnHeadersPage::CColumnHeadersPage(const CDelimStringArray& definitions, const CDelimStringArray& shown,
                                       IPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_definitions(definitions), m_shown(shown), m_prompts(prompts)
{
    CreateWidgets();
    Load();
    Connect();
}

void CColumnHeadersPage::CreateWidgets()
{
    setObjectName(QStringLiteral("columnHeadersPage"));
    auto makeList = [this](const char* name) {
        auto* list = new QListWidget(this);
        list->setObjectName(QLatin1StringView(name));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setSortingEnabled(false);
        return list;
    };
    m_available = makeList("availableList");
    m_headers = makeList("headersList");
    auto makeButton = [this](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1StringView(name));
        button->setAutoDefault(false);
        return button;
    };
    m_right = makeButton(QStringLiteral(">>"), "showButton");
    m_left = makeButton(QStringLiteral("<<"), "hideButton");
    m_add = makeButton(QStringLiteral("Add"), "addButton");
    m_remove = makeButton(QStringLiteral("Remove"), "removeButton");
    m_up = makeButton(QStringLiteral("Up"), "upButton");
    m_down = makeButton(QStringLiteral("Down"), "downButton");

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_right);
    middle->addWidget(m_left);
    middle->addStretch();
    auto* belowAvailable = new QHBoxLayout;
    belowAvailable->addWidget(m_add);
    belowAvailable->addWidget(m_remove);
    auto* belowHeaders = new QHBoxLayout;
    belowHeaders->addWidget(m_up);
    belowHeaders->addWidget(m_down);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Available:"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Headers:"), this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_headers, 1, 2);
    grid->addLayout(belowAvailable, 2, 0);
    grid->addLayout(belowHeaders, 2, 2);
}

void CColumnHeadersPage::Load()
{
    // A stored position outside the definition list shows no header; the
    // next OK writes a list without it.
    m_lists.Load(m_definitions, m_shown);
    Show();
}

void CColumnHeadersPage::Connect()
{
    connect(m_right, &QPushButton::clicked, this, [this] { Run(&CColumnHeadersPage::DoMoveRight); });
    connect(m_left, &QPushButton::clicked, this, [this] { Run(&CColumnHeadersPage::DoMoveLeft); });
    connect(m_up, &QPushButton::clicked, this, [this] { Run(&CColumnHeadersPage::DoUp); });
    connect(m_down, &QPushButton::clicked, this, [this] { Run(&CColumnHeadersPage::DoDown); });
    connect(m_add, &QPushButton::clicked, this, [this] { Run(&CColumnHeadersPage::DoAdd); });
    connect(m_remove, &QPushButton::clicked, this, [this] { Run(&CColumnHeadersPage::DoRemove); });
    // Double click on a definition shows it, as ">>" does.
    connect(m_available, &QListWidget::itemDoubleClicked, this, [this] { Run(&CColumnHeadersPage::DoMoveRight); });
}

void CColumnHeadersPage::Run(void (CColumnHeadersPage::*command)())
{
    m_lists.m_selAvailable = SelectedRow(*m_available);
    m_lists.m_selHeaders = SelectedRow(*m_headers);
    (this->*command)();
    Show();
}

void CColumnHeadersPage::DoAdd()
{
    CNewColumnDlg dialog(m_lists.m_available, m_prompts, this);
    if (m_prompts.ExecDialog(dialog) != QDialog::Accepted)
        return;
    m_lists.InsertDefinition(JoinDefinition(dialog.Header(), dialog.Signature()));
}

void CColumnHeadersPage::Show()
{
    m_available->clear();
    for (const std::string& definition : m_lists.m_available)
        m_available->addItem(QString::fromStdString(definition));
    m_headers->clear();
    for (const std::string& header : m_lists.m_headers) {
        auto* item = new QListWidgetItem(QString::fromStdString(header), m_headers);
        // The signature of the definition this header stands for: the last
        // one with that header, as OK gives the position to the later one.
        for (const std::string& definition : m_lists.m_available) {
            const CColumnDef column = SplitDefinition(definition);
            if (SameHeader(column.m_strHeader, header))
                item->setToolTip(SignatureMeaning(column.m_strSignature));
        }
    }
    SelectRow(*m_available, m_lists.m_selAvailable);
    SelectRow(*m_headers, m_lists.m_selHeaders);
}

void CColumnHeadersPage::Save()
{
    m_lists.Apply(m_definitions, m_shown);
}
