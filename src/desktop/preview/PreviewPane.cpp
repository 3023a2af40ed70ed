#include "desktop/preview/PreviewPane.h"

#include "desktop/app/Prompts.h"
#include "desktop/pattern/PatternPanel.h"
#include "desktop/preview/BoardPainter.h"
#include "desktop/preview/BoardView.h"
#include "qtcore/ByteText.h"
#include "qtcore/ResText.h"
#include "settings/Settings.h"
#include "settings/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// The cell of a copied or saved diagram, in device-independent pixels.
constexpr qreal kDiagramCell = 28;
constexpr int kMaxMoveNumber = 99999;

QString Capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}
} // namespace

CPreviewPane::CPreviewPane(ISettingsStore& store, IPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_store(store), m_prompts(prompts)
{
    setObjectName(QStringLiteral("PreviewPane"));
    m_loader = new CPreviewLoader(this);
    CreateWidgets();
    Load();
    Connect();
    Refresh();
}

void CPreviewPane::CreateWidgets()
{
    m_pattern = new CPatternPanel(this);
    m_pattern->hide();
    m_board = new CBoardView(this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("previewSlider"));
    m_moveLabel = new QLabel(this);
    m_moveLabel->setObjectName(QStringLiteral("previewMoveLabel"));
    m_moveLabel->setMinimumWidth(m_moveLabel->fontMetrics().horizontalAdvance(QStringLiteral("Move 0000 of 0000")));
    m_showAt = new QComboBox(this);
    m_showAt->setObjectName(QStringLiteral("previewShowAt"));
    m_showAt->addItem(QStringLiteral("The end"), kShowEnd);
    m_showAt->addItem(QStringLiteral("Move"), kShowMove);
    m_showAt->addItem(QStringLiteral("The start"), kShowStart);
    m_moveNumber = new QSpinBox(this);
    m_moveNumber->setObjectName(QStringLiteral("previewMoveNumber"));
    m_moveNumber->setRange(1, kMaxMoveNumber);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("previewInfo"));
    m_info->setTextFormat(Qt::PlainText);
    m_info->setWordWrap(true);
    m_info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_info->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(QStringLiteral("previewComment"));
    m_comment->setReadOnly(true);
    m_comment->setFocusPolicy(Qt::ClickFocus);

    auto* steps = new QHBoxLayout;
    steps->addWidget(m_slider, 1);
    steps->addWidget(m_moveLabel);
    auto* choice = new QHBoxLayout;
    auto* opens = new QLabel(QStringLiteral("&Open at:"), this);
    opens->setBuddy(m_showAt);
    choice->addWidget(opens);
    choice->addWidget(m_showAt);
    choice->addWidget(m_moveNumber);
    choice->addStretch(1);
    // The game information scrolls in a place of its own: grown with a
    // game's lines, it would push the board, the slider and the choice up
    // and down from one game to the next.
    auto* infoArea = new QScrollArea(this);
    m_infoArea = infoArea;
    infoArea->setObjectName(QStringLiteral("previewInfoArea"));
    infoArea->setWidget(m_info);
    infoArea->setWidgetResizable(true);
    infoArea->setFrameShape(QFrame::NoFrame);
    infoArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    infoArea->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    m_comment->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pattern, 5);
    layout->addWidget(m_board, 4);
    layout->addLayout(steps);
    layout->addLayout(choice);
    layout->addWidget(infoArea, 1);
    layout->addWidget(m_comment, 1);
    addAction(m_board->CopyAction());
    addAction(m_board->SaveAction());
}

void CPreviewPane::Load()
{
    const QSignalBlocker blockAt(m_showAt);
    const QSignalBlocker blockMove(m_moveNumber);
    const int at = ReadInt(m_store, settings::kPreviewAt);
    m_showAt->setCurrentIndex(std::max(0, m_showAt->findData(at)));
    m_moveNumber->setValue(std::clamp(ReadInt(m_store, settings::kPreviewMove), 1, kMaxMoveNumber));
    m_moveNumber->setEnabled(at == kShowMove);
}

void CPreviewPane::Connect()
{
    connect(m_loader, &CPreviewLoader::Loaded, this, &CPreviewPane::OnLoaded);
    connect(m_slider, &QSlider::valueChanged, this, &CPreviewPane::SetShownMove);
    connect(m_showAt, &QComboBox::currentIndexChanged, this, &CPreviewPane::OnShowAtChanged);
    connect(m_moveNumber, &QSpinBox::valueChanged, this, &CPreviewPane::OnShowAtChanged);
    connect(m_board->CopyAction(), &QAction::triggered, this, &CPreviewPane::CopyDiagram);
    connect(m_board->SaveAction(), &QAction::triggered, this, &CPreviewPane::SaveDiagramAs);
}

void CPreviewPane::ShowGame(const std::string& path, std::optional<int> openAt, std::size_t game)
{
    if (path == m_wantedPath && game == m_wantedGame && !m_pending) {
        if (openAt && openAt != m_wantedAt) {
            m_wantedAt = openAt;
            SetShownMove(*openAt);
        }
        m_wantedAt = openAt;
        return;
    }
    m_wantedPath = path;
    m_wantedGame = game;
    m_wantedAt = openAt;
    if (path.empty()) {
        m_loader->Cancel();
        m_pending = false;
        m_game.reset();
        m_shownPath.clear();
        m_position.reset();
        Refresh();
        return;
    }
    // A hidden pane reads nothing; it catches up when it is shown again.
    m_pending = !isVisible();
    if (!m_pending)
        m_loader->Request(path, game);
}

void CPreviewPane::SetPatternMode(bool on)
{
    m_pattern->setVisible(on);
    // The game's board gives the room to the pattern board, and keeps
    // showing the game chosen in the list with its slider; the game's
    // information and comments make way.
    m_infoArea->setVisible(!on);
    m_comment->setVisible(!on);
    FitGameBoard();
}

void CPreviewPane::FitGameBoard()
{
    // A board lays itself out as high as it is wide: in the mode the game's
    // board is held to a part of the pane, or it would take the room of
    // the pattern board.
    m_board->setMaximumHeight(IsPatternMode() ? std::max(160, height() * 3 / 10) : QWIDGETSIZE_MAX);
}

void CPreviewPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitGameBoard();
}

bool CPreviewPane::IsPatternMode() const
{
    return !m_pattern->isHidden();
}

void CPreviewPane::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_pending) {
        m_pending = false;
        m_loader->Request(m_wantedPath, m_wantedGame);
    }
}

void CPreviewPane::OnLoaded(std::shared_ptr<const SPreviewGame> game)
{
    if (game->path != m_wantedPath || game->game != m_wantedGame)
        return;
    m_game = std::move(game);
    m_shownPath = m_game->path;
    m_position.reset();
    const int opening = OpeningMove();
    {
        const QSignalBlocker block(m_slider);
        m_slider->setRange(0, m_game->timeline->PlayedCount());
        m_slider->setValue(opening);
    }
    if (m_game->record.HasGame())
        m_position = m_game->timeline->At(opening);
    Refresh();
    emit GameShown();
}

int CPreviewPane::OpeningMove() const
{
    if (!m_game)
        return 0;
    if (m_wantedAt)
        return std::clamp(*m_wantedAt, 0, m_game->timeline->PlayedCount());
    switch (m_showAt->currentData().toInt()) {
    case kShowStart:
        return 0;
    case kShowMove:
        return std::min(m_moveNumber->value(), m_game->timeline->PlayedCount());
    default:
        return m_game->timeline->PlayedCount();
    }
}

void CPreviewPane::OnShowAtChanged()
{
    // The user's choice counts from now on, over a move asked for.
    m_wantedAt.reset();
    const int at = m_showAt->currentData().toInt();
    m_moveNumber->setEnabled(at == kShowMove);
    WriteInt(m_store, settings::kPreviewAt, at);
    WriteInt(m_store, settings::kPreviewMove, m_moveNumber->value());
    SetShownMove(OpeningMove());
    emit OpenAtChanged();
}

const SGamePosition* CPreviewPane::Position() const
{
    return m_position ? &*m_position : nullptr;
}

int CPreviewPane::ShownMove() const
{
    return m_position ? m_position->moveNumber : 0;
}

void CPreviewPane::SetShownMove(int n)
{
    if (!m_game || !m_game->record.HasGame())
        return;
    n = std::clamp(n, 0, m_game->timeline->PlayedCount());
    if (!m_position || m_position->moveNumber != n)
        m_position = m_game->timeline->At(n);
    {
        const QSignalBlocker block(m_slider);
        m_slider->setValue(n);
    }
    Refresh();
}

void CPreviewPane::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        SetShownMove(ShownMove() - 1);
        break;
    case Qt::Key_Right:
        SetShownMove(ShownMove() + 1);
        break;
    case Qt::Key_Home:
        SetShownMove(0);
        break;
    case Qt::Key_End:
        SetShownMove(kMaxMoveNumber);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

QString CPreviewPane::Decoded(CPropertyValue text)
{
    return text ? m_decoder.Decode(*text, m_game->charset) : QString();
}

QString CPreviewPane::InfoText()
{
    const CPropertyTable& root = m_game->record.root;
    QStringList lines;
    const auto player = [&](const QString& side, const char* name, const char* rank) {
        QString text = Decoded(root.Find(name));
        const QString level = Decoded(root.Find(rank));
        if (!level.isEmpty())
            text += QStringLiteral(" (%1)").arg(level);
        if (!text.isEmpty())
            lines << side + QStringLiteral(": ") + text;
    };
    player(QStringLiteral("Black"), "PB", "BR");
    player(QStringLiteral("White"), "PW", "WR");
    const auto field = [&](const QString& label, const char* id) {
        const QString text = Decoded(root.Find(id));
        if (!text.isEmpty())
            lines << label + QStringLiteral(": ") + text;
    };
    field(QStringLiteral("Result"), "RE");
    field(QStringLiteral("Date"), "DT");
    field(QStringLiteral("Event"), "EV");
    field(QStringLiteral("Komi"), "KM");
    field(QStringLiteral("Handicap"), "HA");
    if (m_game->record.HasGame()) {
        lines << QStringLiteral("Moves: %1").arg(m_game->timeline->MoveCount());
        if (m_position)
            lines << QStringLiteral("Captures: black %1, white %2")
                         .arg(m_position->board.Captures(EStone::Black))
                         .arg(m_position->board.Captures(EStone::White));
    }
    if (m_game->record.unplayableSize)
        lines << Capitalised(ResText(IDS_GAME_BAD_SIZE)) + QLatin1Char('.');
    EGameProblem problem = m_game->record.problem;
    if (problem == EGameProblem::None && m_game->timeline->CutShort())
        problem = EGameProblem::TooLongToPlay;
    if (problem != EGameProblem::None)
        lines << Capitalised(ResText(GameProblemStringId(problem))) + QLatin1Char('.');
    return lines.join(QLatin1Char('\n'));
}

void CPreviewPane::Refresh()
{
    if (!m_game) {
        m_board->SetPosition(nullptr, QStringLiteral("No game"));
        m_slider->setEnabled(false);
        m_moveLabel->clear();
        m_info->clear();
        m_comment->clear();
        return;
    }
    const SGameRecord& record = m_game->record;
    if (m_position)
        m_board->SetPosition(&*m_position);
    else
        m_board->SetPosition(nullptr, Capitalised(ResText(GameProblemStringId(record.problem))));
    m_slider->setEnabled(m_position.has_value() && m_game->timeline->PlayedCount() > 0);
    m_moveLabel->setText(
        m_position ? QStringLiteral("Move %1 of %2").arg(m_position->moveNumber).arg(m_game->timeline->MoveCount())
                   : QString());
    m_info->setText(InfoText());
    QString comment = Decoded(record.root.Find("GC"));
    if (const std::string* text = record.CommentAt(static_cast<std::uint32_t>(ShownMove()))) {
        if (!comment.isEmpty())
            comment += QStringLiteral("\n\n");
        comment += Decoded(CPropertyValue(*text));
    }
    m_comment->setPlainText(comment);
}

void CPreviewPane::CopyDiagram()
{
    if (!m_position)
        return;
    QApplication::clipboard()->setImage(RenderDiagram(*m_position, kDiagramCell, devicePixelRatioF()));
}

void CPreviewPane::SaveDiagramAs()
{
    if (!m_position)
        return;
    const QFileInfo game(BytesToPath(m_shownPath));
    const QString suggested = game.dir().filePath(game.completeBaseName() + QStringLiteral(".png"));
    const QString path =
        m_prompts.GetSaveFileName(this, QStringLiteral("Save Diagram As"), QStringLiteral("PNG Images (*.png)|*.png||"),
                                  QStringLiteral("png"), suggested);
    if (path.isEmpty())
        return;
    if (!RenderDiagram(*m_position, kDiagramCell, devicePixelRatioF()).save(path, "PNG"))
        m_prompts.MessageBox(this, QStringLiteral("Cannot save the diagram as %1.").arg(path), IPrompts::EIcon::Error);
}
